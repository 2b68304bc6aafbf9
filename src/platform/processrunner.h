// Starting other programs and opening files or addresses with the desktop.
// Injected, so tests record the calls instead of starting anything.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace bw {

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Starts a program without waiting for it; false when it could not start,
    // with the reason in `error` when given.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory = QString(), QString* error = nullptr) = 0;
    // Opens a file or an address with the desktop's default application.
    virtual bool openUrl(const QUrl& url) = 0;
    // A program of that name on the PATH, or an empty string.
    virtual QString findExecutable(const QString& name) const;
};

class SystemProcessRunner : public ProcessRunner {
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory = QString(), QString* error = nullptr) override;
    bool openUrl(const QUrl& url) override;
};

} // namespace bw
