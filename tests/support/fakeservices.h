// Fakes of the file dialogs and the process runner: answers come from a queue,
// calls are recorded. Services bundles them with a FakePrompter, a fixed clock
// and a seeded random source for form tests.
#pragma once

#include "platform/services.h"
#include "support/fakeprompter.h"

#include <QList>
#include <QStringList>

namespace bw::test {

class FakeFileDialogs : public FileDialogs {
public:
    struct Call {
        QString kind; // "open", "save", "choose" or "directory"
        QString caption;
        QString dir;
        QString filter;
    };
    // The next dialog returns this path ("" = cancelled). With an empty queue every
    // dialog is cancelled.
    // An open dialog of file types also answers the type chosen (empty: the one
    // it was opened with).
    FakeFileDialogs& answer(const QString& path, const QString& fileType = QString())
    {
        m_answers.append(path);
        m_fileTypes.append(fileType);
        return *this;
    }

    QString openFile(QWidget*, const QString& caption, const QString& dir, const QString& filter) override;
    QString openFileOfType(QWidget*, const QString& caption, const QString& dir, const QString& filters,
                           QString* selectedFilter) override;
    QString saveFile(QWidget*, const QString& caption, const QString& dir, const QString& filter) override;
    QString chooseFile(QWidget*, const QString& caption, const QString& dir, const QString& filter) override;
    QString directory(QWidget*, const QString& caption, const QString& dir) override;

    const QList<Call>& calls() const { return m_calls; }

private:
    QString next(Call call);
    QStringList m_answers;
    QStringList m_fileTypes;
    QList<Call> m_calls;
};

class FakeProcessRunner : public ProcessRunner {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingDirectory;
    };
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory = QString(), QString* error = nullptr) override;
    bool openUrl(const QUrl& url) override;
    QString findExecutable(const QString& name) const override;

    bool succeed = true; // false: starting and opening fail
    QString failure = QStringLiteral("execv: No such file or directory"); // the reason a start fails with
    QStringList executablesOnPath; // names findExecutable finds
    QList<Started> started;
    QList<QUrl> opened;
};

// Everything a form needs, faked. The program folder defaults to the build's.
struct FakeServices {
    explicit FakeServices(const QString& programDir = QString(), const QString& dataDir = QString());

    FakePrompter prompter;
    FakeFileDialogs files;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    SeededRandom random{4711};
    FakeProcessRunner runner;
    Services services;
};

} // namespace bw::test
