// The dialog "PCs im Netzwerk": choose the computer that runs the tournament
// database server. It lists this computer and the servers chosen before, takes
// any typed name, and tries the chosen server's catalog before it keeps it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TuiButton;

namespace bw {

struct AppContext;
struct Forms;
struct Services;
class ServerBrowser;

class TMSDENetworkForm : public QDialog {
    Q_OBJECT
public:
    TMSDENetworkForm(QWidget* parent, AppContext& context, Services& services, ServerBrowser& browser,
                     const Forms& forms);

    QListWidget* ListBox1;
    QLineEdit* SelValBox;
    TuiButton* uiButton1;
    TuiButton* uiButton2;
    QFrame* WaitPanel;
    QLabel* Label3;

    // The four reasons a server could not be used, for the given server.
    static QString unreachableText(const QString& server);

public slots:
    void FormShow();
    void ListBox1Click(QListWidgetItem* item);
    void SelValBoxChange();
    void uiButton1Click();
    void uiButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    AppContext& m_context;
    Services& m_services;
    ServerBrowser& m_browser;
    const Forms& m_forms;
    QString m_previous;
};

} // namespace bw
