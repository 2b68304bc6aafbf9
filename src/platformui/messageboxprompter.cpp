#include "platformui/messageboxprompter.h"

#include <QMessageBox>
#include <QPushButton>

namespace bw {

PromptAnswer MessageBoxPrompter::prompt(PromptKind kind, const QString& text, PromptButtons buttons,
                                        const QString& title)
{
    QMessageBox box(m_parent);
    switch (kind) {
    case PromptKind::Error: box.setIcon(QMessageBox::Critical); break;
    case PromptKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case PromptKind::Information: box.setIcon(QMessageBox::Information); break;
    case PromptKind::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.setWindowTitle(title.isEmpty() ? defaultPromptTitle(kind) : title);
    // The program's texts break lines with a carriage return; the box breaks at \n.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Texts may quote what a user typed or a server answered: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ignore = nullptr;
    switch (buttons) {
    case PromptButtons::Cancel:
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case PromptButtons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case PromptButtons::YesNo:
        yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        break;
    case PromptButtons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case PromptButtons::YesCancel:
        yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case PromptButtons::YesNoIgnore:
        yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        ignore = box.addButton(QStringLiteral("&Ignorieren"), QMessageBox::RejectRole);
        break;
    }
    if (ignore)
        box.setEscapeButton(ignore);
    else if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    else if (ok)
        box.setEscapeButton(ok);
    box.setDefaultButton(ok ? ok : yes ? yes : cancel);
    box.exec();

    auto clicked = box.clickedButton();
    if (clicked == ok && ok)
        return PromptAnswer::Ok;
    if (clicked == yes && yes)
        return PromptAnswer::Yes;
    if (clicked == no && no)
        return PromptAnswer::No;
    if (buttons == PromptButtons::YesNoIgnore)
        return PromptAnswer::Ignore;
    if (buttons == PromptButtons::YesNo)
        return PromptAnswer::No;
    if (buttons == PromptButtons::Ok)
        return PromptAnswer::Ok;
    return PromptAnswer::Cancel;
}

} // namespace bw
