// The exception every Brackwell layer raises for a failure the user should see.
// It carries the message as the program shows it (German for the program's own
// texts, the raw text of a database or file error otherwise).
#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace bw {

class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The record a page loaded is no longer stored as it was: another desk deleted
// or changed it meanwhile. Nothing was written; the page shows the message and
// loads anew (PageState::write).
class StaleRecord : public AppError {
public:
    // `record` names the record with its article: "Der Spieler", "Die Klasse".
    static StaleRecord gone(const QString& record);
    static StaleRecord changed(const QString& record);

private:
    using AppError::AppError;
};

// The text of any exception, as shown in the error box of an event handler.
QString exceptionText(const std::exception& e);

} // namespace bw
