// Shows the window controls in their looks on one form and saves a picture of
// it: side bars expanded and collapsed; the buttons resting, under the pointer,
// focused, pressed, disabled and with a picture; check boxes; bordered
// containers.
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "controls/uicontainer.h"
#include "controls/uicoreutils.h"
#include "controls/uisidebar.h"
#include "docpictures/docpicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

const QFont kFormFont = uiCoreUtils::FontFromHeight(QStringLiteral("MS Sans Serif"), 13);

QLabel* label(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setFont(kFormFont);
    l->move(x, y);
    return l;
}

TuiButton* button(QWidget* parent, const QString& caption, int x, int y)
{
    auto* b = new TuiButton(parent);
    b->SetCaption(caption);
    b->move(x, y);
    b->resize(100, 25);
    return b;
}

void hover(QWidget* control)
{
    const QPointF at(5, 5);
    QEnterEvent enter(at, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &enter);
}

void press(QWidget* control)
{
    hover(control);
    const QPointF at(5, 5);
    QMouseEvent down(QEvent::MouseButtonPress, at, control->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(control, &down);
}

QImage smallPicture()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x)
            picture.setPixelColor(x, y, (x + y) % 4 < 2 ? QColor(0x2EA934) : QColor(0x0051E7));
    return picture;
}

QImage drawGallery()
{
    QWidget form;
    form.setFont(kFormFont);
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, QColor(0xECE9D8));
    form.setPalette(palette);
    form.resize(800, 400);

    // The navigation column: side bars stacked from the top.
    auto* column = new QWidget(&form);
    column->setGeometry(5, 5, 185, 390);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    auto addBar = [&](const QString& caption, const QStringList& items) {
        auto* bar = new TuiSideBar;
        bar->SetCaption(caption);
        bar->SetFont(uiCoreUtils::FontFromHeight(QStringLiteral("MS Sans Serif"), 13));
        bar->SetHeaderFont(uiCoreUtils::FontFromHeight(QStringLiteral("MS Sans Serif"), 13, true));
        for (const QString& item : items)
            bar->Items()->Add()->SetCaption(item);
        stack->addWidget(bar);
        return bar;
    };
    TuiSideBar* tournament = addBar(QStringLiteral("Turnierdaten"),
                                    {QStringLiteral("Turnier erstellen"), QStringLiteral("Turnier laden"),
                                     QStringLiteral("Turnier löschen"), QStringLiteral("Turnierdaten bearbeiten")});
    tournament->Items()->GetItem(2)->SetEnabled(false);
    tournament->Items()->GetItem(3)->SetEnabled(false);
    TuiSideBar* classes = addBar(QStringLiteral("Turnierklassen"),
                                 {QStringLiteral("Klassen verwalten"), QStringLiteral("Herren A (Einzel)")});
    addBar(QStringLiteral("Spielerdaten"), {QStringLiteral("Spieler verwalten"), QStringLiteral("Teamverwaltung"),
                                            QStringLiteral("Spieleranmeldung")});
    addBar(QStringLiteral("Export"), {QStringLiteral("Excel-Export"), QStringLiteral("PDF-Export"),
                                      QStringLiteral("HTML-Export")});
    stack->addStretch();
    classes->SetCollapsed(true);

    auto* right = new QWidget(&form);
    right->setGeometry(195, 0, 600, 330);

    label(right, QStringLiteral("TuiButton"), 10, 8);
    button(right, QStringLiteral("Normal"), 10, 30);
    TuiButton* hot = button(right, QStringLiteral("Maus darüber"), 120, 30);
    TuiButton* focused = button(right, QStringLiteral("Fokus"), 230, 30);
    TuiButton* pressed = button(right, QStringLiteral("Gedrückt"), 340, 30);
    TuiButton* disabled = button(right, QStringLiteral("Deaktiviert"), 450, 30);
    disabled->setEnabled(false);
    TuiButton* withPicture = button(right, QStringLiteral("&Übernehmen"), 10, 65);
    withPicture->SetGlyph(smallPicture());
    TuiButton* disabledPicture = button(right, QStringLiteral("Drucken"), 120, 65);
    disabledPicture->SetGlyph(smallPicture());
    disabledPicture->setEnabled(false);
    TuiButton* saveNew = button(right, QStringLiteral("Neue Klasse speichern"), 230, 65);
    saveNew->resize(150, 25);
    saveNew->SetFontColor(Qt::blue);
    TuiButton* saveChange = button(right, QStringLiteral("Änderungen speichern"), 390, 65);
    saveChange->resize(150, 25);
    saveChange->SetFontColor(Qt::red);

    label(right, QStringLiteral("TuiCheckbox"), 10, 105);
    auto* box = new TuiCheckbox(right);
    box->SetCaption(QStringLiteral("Vereinszugehörigkeit beachten"));
    box->SetChecked(true);
    box->move(10, 125);
    box->resize(250, 17);
    auto* boxHot = new TuiCheckbox(right);
    boxHot->SetCaption(QStringLiteral("Freilose zufällig verteilen"));
    boxHot->move(265, 125);
    boxHot->resize(200, 17);
    auto* boxDisabled = new TuiCheckbox(right);
    boxDisabled->SetCaption(QStringLiteral("nächstes mögliches Spiel anzeigen"));
    boxDisabled->SetChecked(true);
    boxDisabled->setEnabled(false);
    boxDisabled->move(265, 150);
    boxDisabled->resize(300, 21);
    auto* boxLines = new TuiCheckbox(right);
    boxLines->SetCaption(QStringLiteral("mit Randlinien"));
    boxLines->SetBoundLines(blLeft | blTop | blRight | blBottom);
    boxLines->move(10, 150);
    boxLines->resize(250, 21);

    label(right, QStringLiteral("TuiContainer"), 10, 185);
    auto* page = new TuiContainer(right);
    page->move(10, 205);
    page->resize(280, 110);
    page->SetColor(QColor(0xC6F3AF));
    page->SetBoundColor(Qt::black);
    page->SetBoundLines(blTop | blRight | blBottom);
    page->SetBorderWidth(5);
    page->SetShowCaption(true);
    page->SetCaption(QStringLiteral("Klassen verwalten"));
    page->SetLayout(TuiTextLayout::tlTop);
    button(page, QStringLiteral("Speichern"), 90, 70);
    auto* frame = new TuiContainer(right);
    frame->move(300, 205);
    frame->resize(280, 110);
    frame->SetColor(QColor(0xFFF3CE));
    frame->SetBoundLines(blLeft | blTop | blRight | blBottom);
    frame->SetGlyph(smallPicture());
    frame->SetShowCaption(true);
    frame->SetWordWrap(true);
    frame->SetCaption(QStringLiteral("Ein Rahmen mit Bild und einer Beschriftung, die umbricht"));

    form.show();
    form.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!form.isActiveWindow() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    hover(hot);
    focused->setFocus();
    pressed->setFocusPolicy(Qt::NoFocus); // keeps the focus where it is
    press(pressed);
    hover(boxHot);
    while (classes->IsRolling())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // The pointer over the second item of the first bar.
    const QPoint overItem = tournament->GetItemRect(1).center();
    hover(tournament);
    QMouseEvent move(QEvent::MouseMove, overItem, tournament->mapToGlobal(overItem), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tournament, &move);
    QApplication::processEvents();
    return form.grab().toImage();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawGallery);
}
