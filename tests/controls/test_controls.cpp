// The flat button, the check box and the bordered container on a real form:
// their pixels where the drawing puts them, their draw states under mouse,
// focus and keys, clicks and accelerators.
// Mouse events travel the window system's way, so Qt makes its enter and leave
// events as it does for a real pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "controls/uicontainer.h"
#include "controls/uicoreutils.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QColor kOutline(0x003873);
const QColor kOutlineDisabled(0xCEC7BD);
const QColor kHotTop(0xFFF3CE);
const QColor kFocusTop(0xCEE7FF);
const QColor kPressedTop(0xD6CFC6);
const QColor kMark(0x21A621);
const QColor kBox(24, 81, 132);
const QColor kFormColor(0xECE9D8);

QColor pixel(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

// A form with two buttons side by side, a line edit and a check box.
struct Form {
    QWidget window;
    TuiButton* button;
    TuiButton* neighbour;
    QLineEdit* edit;
    TuiCheckbox* box;

    Form()
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kFormColor);
        window.setPalette(palette);
        window.resize(300, 120);
        button = new TuiButton(&window);
        button->setObjectName(QStringLiteral("ok"));
        button->SetCaption(QStringLiteral("&Ok"));
        button->move(10, 10);
        neighbour = new TuiButton(&window);
        neighbour->SetCaption(QStringLiteral("Abbrechen"));
        neighbour->move(83, 10);
        edit = new QLineEdit(&window);
        edit->move(10, 40);
        box = new TuiCheckbox(&window);
        box->SetCaption(QStringLiteral("nächstes mögliches Spiel anzeigen"));
        box->move(10, 70);
    }

    bool show()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        // Start with the pointer on an empty spot and the focus in the edit field.
        QTest::mouseMove(&window, QPoint(290, 115));
        edit->setFocus();
        return true;
    }
};

QPoint centre(QWidget* w)
{
    return w->rect().center();
}

// A point on the neighbour, in the button's coordinates.
QPoint onNeighbour(const Form& form)
{
    return form.neighbour->geometry().center() - form.button->pos();
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void init();

    // flat button
    void buttonOutline_data();
    void buttonOutline();
    void buttonFaces_data();
    void buttonFaces();
    void defaultButtonFrameFollowsTheActiveControl();
    void buttonDrawStates_data();
    void buttonDrawStates();
    void dragOntoNeighbourHighlightsIt();
    void focusLostWhilePressed();
    void mouseMoveAndFocusEvents();
    void spaceClicksOnce();
    void dialogKeys_data();
    void dialogKeys();
    void accelerators();
    void modalResultEndsTheDialog();
    void disabledGlyphIsGreyedOnACopy();
    void pictureOnTheRightStaysCentredWithCaption();
    void lockedControlRepaintsOnceAtEndUpdate();
    void layoutsGiveTheCaptionRoom();
    void crowdedRowKeepsTheCaptions();

    // check box
    void checkboxPixels_data();
    void checkboxPixels();
    void checkboxClickTogglesBeforeOnClick();
    void setCheckedRunsNoClick();
    void spaceDoesNotToggleACheckbox();

    // container
    void containerChildArea_data();
    void containerChildArea();
    void containerPixels();
    void containerAffectsDirectChildrenOnly();
    void containerClickKeepsTheFocus();
    void containerCaptionTooWideStartsLeft();
};

void TestControls::init()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Active, QPalette::Light, Qt::white);
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(0x808080));
    QApplication::setPalette(palette);
}

void TestControls::buttonOutline_data()
{
    QTest::addColumn<bool>("ownEnabled");
    QTest::addColumn<bool>("parentEnabled");
    QTest::addColumn<QColor>("outline");
    QTest::newRow("enabled") << true << true << kOutline;
    QTest::newRow("disabled") << false << true << kOutlineDisabled;
    // The main window disables its work area while dialogs are open; the
    // buttons in it keep their look.
    QTest::newRow("in a disabled parent") << true << false << kOutline;
}

void TestControls::buttonOutline()
{
    QFETCH(bool, ownEnabled);
    QFETCH(bool, parentEnabled);
    QFETCH(QColor, outline);
    Form form;
    QVERIFY(form.show());
    form.button->setEnabled(ownEnabled);
    form.window.setEnabled(parentEnabled);
    const int w = form.button->width();
    const int h = form.button->height();
    QCOMPARE(QSize(w, h), QSize(73, 21));
    QCOMPARE(pixel(form.button, w / 2, 0), outline);
    QCOMPARE(pixel(form.button, w / 2, h - 1), outline);
    QCOMPARE(pixel(form.button, 0, h / 2), outline);
    QCOMPARE(pixel(form.button, w - 1, h / 2), outline);
    // Inside the outline the face starts white.
    QCOMPARE(pixel(form.button, w / 2, 1), QColor(Qt::white));
}

void TestControls::buttonFaces_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QColor>("top");
    QTest::addColumn<bool>("ring");
    QTest::newRow("resting") << "none" << QColor(Qt::white) << false;
    QTest::newRow("pointer over it: hot ring") << "hover" << kHotTop << true;
    QTest::newRow("focused: blue ring") << "focus" << kFocusTop << true;
    QTest::newRow("pressed") << "press" << kPressedTop << false;
}

void TestControls::buttonFaces()
{
    QFETCH(QString, how);
    QFETCH(QColor, top);
    QFETCH(bool, ring);
    Form form;
    QVERIFY(form.show());
    form.edit->setFocus();
    if (how == QLatin1String("hover"))
        QTest::mouseMove(form.button, centre(form.button));
    else if (how == QLatin1String("focus"))
        form.button->setFocus();
    else if (how == QLatin1String("press"))
        QTest::mousePress(form.button, Qt::LeftButton, {}, centre(form.button));
    const QImage image = form.button->grab().toImage();
    const int h = form.button->height();
    QCOMPARE(image.pixelColor(36, 1), top);
    // The frame face shows as a ring of two pixels; the normal face starts at 3.
    const QColor side = image.pixelColor(2, h / 2);
    const QColor inside = image.pixelColor(3, h / 2);
    if (ring) {
        QVERIFY2(side != inside, qPrintable(side.name()));
        QCOMPARE(image.pixelColor(1, h / 2), side);
    } else if (how == QLatin1String("none")) {
        QCOMPARE(side, inside);
    }
    if (how == QLatin1String("hover"))
        QVERIFY2(side.red() > side.blue() + 60, qPrintable(side.name())); // orange
    if (how == QLatin1String("focus"))
        QVERIFY2(side.blue() > side.red() + 60, qPrintable(side.name())); // blue
    if (how == QLatin1String("press"))
        QTest::mouseRelease(form.button, Qt::LeftButton, {}, centre(form.button));
}

void TestControls::defaultButtonFrameFollowsTheActiveControl()
{
    Form form;
    form.button->SetDefault(true);
    QVERIFY(form.show());
    form.edit->setFocus();
    QVERIFY(form.button->IsHighlighted(false));
    QCOMPARE(pixel(form.button, 36, 1), kFocusTop);
    // Another of these buttons takes the focus: the default one loses its frame.
    form.neighbour->setFocus();
    QVERIFY(form.button->IsSibling());
    QVERIFY(!form.button->IsHighlighted(false));
    QCOMPARE(pixel(form.button, 36, 1), QColor(Qt::white));
    QCOMPARE(pixel(form.neighbour, 36, 1), kFocusTop);
    form.edit->setFocus();
    QCOMPARE(pixel(form.button, 36, 1), kFocusTop);
}

void TestControls::buttonDrawStates_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QColor>("top");
    const int hl = dsHighlight, cl = dsClicked, fo = dsFocused, de = dsDefault;
    QTest::newRow("hover") << QStringList{"over"} << (de | hl) << 0 << kHotTop;
    QTest::newRow("hover and leave") << QStringList{"over", "away"} << de << 0 << QColor(Qt::white);
    QTest::newRow("press") << QStringList{"over", "press"} << (de | hl | cl | fo) << 0 << kPressedTop;
    QTest::newRow("press, move off: blue frame")
        << QStringList{"over", "press", "off"} << (de | cl | fo) << 0 << kFocusTop;
    QTest::newRow("press, off and back on")
        << QStringList{"over", "press", "off", "on"} << (de | hl | cl | fo) << 0 << kPressedTop;
    QTest::newRow("press, release: a click")
        << QStringList{"over", "press", "release"} << (de | hl | fo) << 1 << kHotTop;
    QTest::newRow("press, off, release: no click")
        << QStringList{"over", "press", "off", "release"} << (de | fo) << 0 << kFocusTop;
    QTest::newRow("press, off, on, release: a click")
        << QStringList{"over", "press", "off", "on", "release"} << (de | hl | fo) << 1 << kHotTop;
    QTest::newRow("right button does nothing")
        << QStringList{"over", "rightpress", "rightrelease"} << (de | hl | fo) << 0 << kHotTop;
}

void TestControls::buttonDrawStates()
{
    QFETCH(QStringList, steps);
    QFETCH(int, state);
    QFETCH(int, clicks);
    QFETCH(QColor, top);
    Form form;
    QVERIFY(form.show());
    form.edit->setFocus();
    QSignalSpy clicked(form.button, &TuiCustomControl::OnClick);
    TuiButton* b = form.button;
    QPoint at = centre(b);
    for (const QString& step : steps) {
        if (step == QLatin1String("over") || step == QLatin1String("on")) {
            at = centre(b);
            QTest::mouseMove(b, at);
        } else if (step == QLatin1String("away")) {
            QTest::mouseMove(form.edit, centre(form.edit));
        } else if (step == QLatin1String("off")) {
            at = onNeighbour(form);
            QTest::mouseMove(b, at);
        } else if (step == QLatin1String("press")) {
            QTest::mousePress(b, Qt::LeftButton, {}, at);
        } else if (step == QLatin1String("release")) {
            QTest::mouseRelease(b, Qt::LeftButton, {}, at);
        } else if (step == QLatin1String("rightpress")) {
            QTest::mousePress(b, Qt::RightButton, {}, at);
        } else if (step == QLatin1String("rightrelease")) {
            QTest::mouseRelease(b, Qt::RightButton, {}, at);
        }
    }
    QCOMPARE(int(b->DrawState()), state);
    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(pixel(b, 36, 1), top);
}

void TestControls::dragOntoNeighbourHighlightsIt()
{
    Form form;
    QVERIFY(form.show());
    QSignalSpy entered(form.neighbour, &TuiCustomControl::OnMouseEnter);
    QTest::mouseMove(form.button, centre(form.button));
    QTest::mousePress(form.button, Qt::LeftButton, {}, centre(form.button));
    QTest::mouseMove(form.button, onNeighbour(form));
    QVERIFY(!(form.neighbour->DrawState() & dsHighlight)); // not told while the press lasts
    QTest::mouseRelease(form.button, Qt::LeftButton, {}, onNeighbour(form));
    QVERIFY(!(form.button->DrawState() & dsClicked));
    QVERIFY(!(form.button->DrawState() & dsHighlight));
    QVERIFY(form.neighbour->DrawState() & dsHighlight);
    QCOMPARE(pixel(form.neighbour, 36, 1), kHotTop);
    QApplication::processEvents();
    QCOMPARE(entered.count(), 1);
}

void TestControls::focusLostWhilePressed()
{
    Form form;
    QVERIFY(form.show());
    QSignalSpy clicked(form.button, &TuiCustomControl::OnClick);
    QTest::mouseMove(form.button, centre(form.button));
    QTest::mousePress(form.button, Qt::LeftButton, {}, centre(form.button));
    QVERIFY(form.button->DrawState() & dsClicked);
    form.edit->setFocus();
    QVERIFY(!(form.button->DrawState() & dsClicked));
    QVERIFY(!(form.button->DrawState() & dsFocused));
    QCOMPARE(pixel(form.button, 36, 1), kHotTop);
}

void TestControls::mouseMoveAndFocusEvents()
{
    Form form;
    QVERIFY(form.show());
    QList<QPoint> moves;
    connect(form.button, &TuiCustomControl::OnMouseMove, form.button,
            [&](QObject*, Qt::KeyboardModifiers, int x, int y) { moves.append(QPoint(x, y)); });
    QSignalSpy entered(form.button, &TuiCustomControl::OnEnter);
    QSignalSpy left(form.button, &TuiCustomControl::OnExit);
    // No button held: the form still hears of the move (the main window gives
    // a side bar the focus this way).
    QTest::mouseMove(form.button, QPoint(20, 5));
    QVERIFY(moves.contains(QPoint(20, 5)));
    form.button->setFocus();
    QCOMPARE(entered.count(), 1);
    form.edit->setFocus();
    QCOMPARE(left.count(), 1);
}

void TestControls::spaceClicksOnce()
{
    Form form;
    QVERIFY(form.show());
    form.button->setFocus();
    QSignalSpy clicked(form.button, &TuiCustomControl::OnClick);
    QTest::keyPress(form.button, Qt::Key_Space);
    QVERIFY(form.button->DrawState() & dsClicked);
    QCOMPARE(pixel(form.button, 36, 1), kPressedTop);
    // Held down: the system repeats press and release.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(form.button, &release);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(form.button, &press);
    }
    QCOMPARE(clicked.count(), 0);
    QTest::keyRelease(form.button, Qt::Key_Space);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(int(form.button->DrawState()), int(dsDefault | dsFocused));
    // Space with a modifier does not press the button.
    QTest::keyPress(form.button, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyRelease(form.button, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(clicked.count(), 1);
}

void TestControls::dialogKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<bool>("isCancel");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("enter on the focused button") << "button" << false << false << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("enter in an edit field, default button") << "edit" << true << false << int(Qt::Key_Return) << 0
                                                            << 1;
    QTest::newRow("enter in an edit field, plain button") << "edit" << false << false << int(Qt::Key_Enter) << 0 << 0;
    QTest::newRow("enter on another xp control, default button")
        << "neighbour" << true << false << int(Qt::Key_Return) << 0 << 0;
    QTest::newRow("esc, cancel button") << "edit" << false << true << int(Qt::Key_Escape) << 0 << 1;
    QTest::newRow("shift+esc, cancel button")
        << "edit" << false << true << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << 0;
    QTest::newRow("esc, plain button") << "edit" << false << false << int(Qt::Key_Escape) << 0 << 0;
}

void TestControls::dialogKeys()
{
    QFETCH(QString, focus);
    QFETCH(bool, isDefault);
    QFETCH(bool, isCancel);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    Form form;
    form.button->SetDefault(isDefault);
    form.button->SetCancel(isCancel);
    QVERIFY(form.show());
    QWidget* target = focus == QLatin1String("button") ? static_cast<QWidget*>(form.button)
                      : focus == QLatin1String("edit") ? static_cast<QWidget*>(form.edit)
                                                       : static_cast<QWidget*>(form.neighbour);
    target->setFocus();
    QSignalSpy clicked(form.button, &TuiCustomControl::OnClick);
    QSignalSpy neighbourClicked(form.neighbour, &TuiCustomControl::OnClick);
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), clicks);
    if (focus == QLatin1String("neighbour") && key != Qt::Key_Escape)
        QCOMPARE(neighbourClicked.count(), 1); // Enter clicks the focused one
}

void TestControls::accelerators()
{
    Form form;
    QVERIFY(form.show());
    QSignalSpy clicked(form.button, &TuiCustomControl::OnClick);
    form.edit->setFocus();
    QTest::keyClick(form.edit, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(clicked.count(), 1);
    // Without Alt the letter is typed into the edit field.
    QTest::keyClick(form.edit, Qt::Key_O);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(form.edit->text(), QStringLiteral("o"));
    // On the focused button the letter alone is enough.
    form.neighbour->setFocus();
    QTest::keyClick(form.neighbour, Qt::Key_O);
    QCOMPARE(clicked.count(), 1);
    form.button->setFocus();
    QTest::keyClick(form.button, Qt::Key_O);
    QCOMPARE(clicked.count(), 2);
    // A disabled button ignores its accelerator.
    form.button->setEnabled(false);
    form.edit->setFocus();
    QTest::keyClick(form.edit, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(clicked.count(), 2);
    // A new caption brings its own accelerator.
    form.button->setEnabled(true);
    form.button->SetCaption(QStringLiteral("&Weiter"));
    QTest::keyClick(form.edit, Qt::Key_W, Qt::AltModifier);
    QCOMPARE(clicked.count(), 3);
}

void TestControls::modalResultEndsTheDialog()
{
    QDialog dialog;
    auto* ok = new TuiButton(&dialog);
    ok->SetCaption(QStringLiteral("OK"));
    ok->SetModalResult(QDialog::Accepted);
    auto* cancel = new TuiButton(&dialog);
    cancel->move(80, 0);
    cancel->SetModalResult(QDialog::Rejected);
    int seen = -1;
    connect(ok, &TuiCustomControl::OnClick, &dialog, [&] { seen = dialog.isVisible(); });
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(ok, Qt::LeftButton, {}, centre(ok));
    QCOMPARE(seen, 1); // the handler runs while the dialog is still open
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(cancel, Qt::LeftButton, {}, centre(cancel));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// In a layout a button and a check box get room for their whole caption; a
// short caption keeps the button's usual size.
void TestControls::layoutsGiveTheCaptionRoom()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* small = new TuiButton;
    small->SetCaption(QStringLiteral("&Ok"));
    auto* wide = new TuiButton;
    auto* box = new TuiCheckbox;
    for (QWidget* w : {static_cast<QWidget*>(small), static_cast<QWidget*>(wide), static_cast<QWidget*>(box)})
        layout->addWidget(w, 0, Qt::AlignLeft);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(small->size(), QSize(73, 21));

    const QString caption = QStringLiteral("Gruppen/Phasen zuweisen und alles übernehmen");
    wide->SetCaption(caption);
    box->SetCaption(caption);
    const int text = wide->fontMetrics().horizontalAdvance(caption);
    QTRY_VERIFY2(wide->width() >= text + 16, qPrintable(QString::number(wide->width())));
    QVERIFY(wide->height() >= 21);
    QTRY_VERIFY2(box->width() >= TuiCustomCheckControl::kBoxSize + 4 + box->Spacing() + text,
                 qPrintable(QString::number(box->width())));
    QVERIFY(box->height() >= 17);
}

// A row too narrow for all its widgets squeezes the edit field, never the
// captions of the buttons and check box beside it.
void TestControls::crowdedRowKeepsTheCaptions()
{
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    auto* edit = new QLineEdit;
    auto* button = new TuiButton;
    button->SetCaption(QStringLiteral("Nummern anzeigen"));
    auto* box = new TuiCheckbox;
    box->SetCaption(QStringLiteral("bezahlt"));
    row->addWidget(edit);
    row->addWidget(button);
    row->addWidget(box);
    window.resize(edit->minimumSizeHint().width() + button->sizeHint().width() + box->sizeHint().width() + 40, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(button->size(), button->sizeHint());
    QCOMPARE(box->size(), box->sizeHint());
    QVERIFY2(edit->width() < edit->sizeHint().width(), qPrintable(QString::number(edit->width())));
}

void TestControls::disabledGlyphIsGreyedOnACopy()
{
    Form form;
    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(Qt::white); // the bottom-left colour is the transparent one
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            glyph.setPixelColor(x, y, Qt::black);
    form.button->SetGlyph(glyph);
    form.button->SetCaption(QString());
    form.button->setEnabled(false);
    QVERIFY(form.show());
    auto columnsOf = [&](const QColor& colour) {
        const QImage image = form.button->grab().toImage();
        QList<int> found;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, 10) == colour)
                found.append(x);
        return found;
    };
    // The black square shows greyed, the white around it transparent.
    const QList<int> grey = columnsOf(QColor(100, 100, 100));
    QCOMPARE(grey.size(), 4);
    QVERIFY(columnsOf(Qt::black).isEmpty());
    QCOMPARE(form.button->Glyph().pixelColor(3, 3), QColor(Qt::black));
    form.button->setEnabled(true);
    QCOMPARE(columnsOf(Qt::black), grey);
}

void TestControls::pictureOnTheRightStaysCentredWithCaption()
{
    QImage glyph(10, 10, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    glyph.setPixelColor(0, 9, Qt::white); // transparent colour
    auto findRed = [](const QImage& image) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, 10) == QColor(Qt::red)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return qMakePair(first, last);
    };
    Form form;
    QVERIFY(form.show());
    form.button->resize(120, 21);
    form.button->SetCaption(QStringLiteral("Weiter"));
    form.button->SetGlyph(glyph);
    form.button->SetLayout(TuiLayout::blGlyphLeft);
    const auto left = findRed(form.button->grab().toImage());
    form.button->SetLayout(TuiLayout::blGlyphRight);
    const auto right = findRed(form.button->grab().toImage());
    QVERIFY(left.first > 0 && right.first > 0);
    // Caption and picture form one centred pair: the picture's distance from
    // its side is the same either way.
    QVERIFY2(qAbs(left.first - (120 - 1 - right.second)) <= 1,
             qPrintable(QStringLiteral("%1 %2").arg(left.first).arg(right.second)));
    QVERIFY(right.first > 60);
}

// Counts its paints, to see when it repaints.
class CountingButton : public TuiButton {
public:
    using TuiButton::TuiButton;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TuiButton::paintEvent(event);
    }
};

void TestControls::lockedControlRepaintsOnceAtEndUpdate()
{
    QWidget window;
    auto* button = new CountingButton(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    button->paints = 0;
    button->BeginUpdate();
    button->SetCaption(QStringLiteral("A"));
    button->SetSpacing(7);
    QApplication::processEvents();
    QCOMPARE(button->paints, 0);
    button->setEnabled(false);
    QApplication::processEvents();
    QCOMPARE(button->paints, 0);
    button->EndUpdate();
    QApplication::processEvents();
    QCOMPARE(button->paints, 1);
}

void TestControls::checkboxPixels_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hot");
    QTest::addColumn<int>("theme");
    QTest::addColumn<QColor>("mark");
    QTest::newRow("checked") << true << true << false << int(TuiTheme::WindowsXP) << kMark;
    QTest::newRow("unchecked") << false << true << false << int(TuiTheme::WindowsXP) << QColor();
    QTest::newRow("checked and disabled") << true << false << false << int(TuiTheme::WindowsXP) << kMark;
    QTest::newRow("checked, office look") << true << true << false << int(TuiTheme::OfficeXP) << QColor(Qt::black);
    QTest::newRow("checked, pointer over it") << true << true << true << int(TuiTheme::WindowsXP) << kMark;
}

void TestControls::checkboxPixels()
{
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(bool, hot);
    QFETCH(int, theme);
    QFETCH(QColor, mark);
    Form form;
    TuiStyleManager manager;
    manager.SetTheme(TuiTheme(theme));
    form.box->SetStyleManager(&manager);
    form.box->SetChecked(checked);
    form.box->setEnabled(enabled);
    QVERIFY(form.show());
    if (hot)
        QTest::mouseMove(form.box, QPoint(8, 8));
    const QImage image = form.box->grab().toImage();
    QCOMPARE(form.box->height(), 17);
    // 17 high: the box at y 2, the mark from y 5; the box's left edge at x 2.
    QCOMPARE(image.pixelColor(2, 2), kBox);
    QCOMPARE(image.pixelColor(14, 14), kBox);
    QCOMPARE(image.pixelColor(1, 2), kFormColor);   // outside: the parent's colour
    if (mark.isValid()) {
        QCOMPARE(image.pixelColor(11, 5), mark); // top row of the mark "......X"
        QCOMPARE(image.pixelColor(5, 7), mark);  // "X...XXX"
        QVERIFY(image.pixelColor(5, 5) != mark); // "." shows the face
        QVERIFY(image.pixelColor(10, 5) != mark);
    } else {
        for (const QPoint p : {QPoint(11, 5), QPoint(5, 7)})
            QVERIFY(image.pixelColor(p) != kMark && image.pixelColor(p) != QColor(Qt::black));
    }
    if (hot && theme == int(TuiTheme::WindowsXP)) {
        const QColor ring = image.pixelColor(3, 8);
        QVERIFY2(ring.red() > ring.blue() + 60, qPrintable(ring.name()));
    }
    // The caption starts at 20; disabled it is engraved in grey and white.
    bool dark = false, engraved = false;
    for (int y = 0; y < 17; ++y)
        for (int x = 20; x < 120; ++x) {
            const QColor c = image.pixelColor(x, y);
            dark |= c.lightness() < 60;
            engraved |= c == QColor(0x808080);
        }
    QCOMPARE(dark, enabled);
    QCOMPARE(engraved, !enabled);
}

void TestControls::checkboxClickTogglesBeforeOnClick()
{
    Form form;
    QVERIFY(form.show());
    QList<bool> seen;
    connect(form.box, &TuiCustomControl::OnClick, form.box, [&] { seen.append(form.box->Checked()); });
    QTest::mouseClick(form.box, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(form.box, Qt::LeftButton, {}, QPoint(60, 8));
    QCOMPARE(seen, (QList<bool>{true, false}));
    QTest::mouseClick(form.box, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(pixel(form.box, 11, 5), kMark);
    // A press that ends off the control changes nothing.
    QTest::mousePress(form.box, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(form.box, QPoint(8, 40));
    QTest::mouseRelease(form.box, Qt::LeftButton, {}, QPoint(8, 40));
    QVERIFY(form.box->Checked());
    QCOMPARE(seen.size(), 3);
}

void TestControls::setCheckedRunsNoClick()
{
    Form form;
    QVERIFY(form.show());
    QSignalSpy clicked(form.box, &TuiCustomControl::OnClick);
    form.box->SetChecked(true);
    form.box->SetChecked(true);
    form.box->SetChecked(false);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!form.box->Checked());
}

void TestControls::spaceDoesNotToggleACheckbox()
{
    Form form;
    QVERIFY(form.show());
    form.box->setFocus();
    QTest::keyClick(form.box, Qt::Key_Space);
    QVERIFY(!form.box->Checked());
    QVERIFY(form.box->DrawState() & dsFocused);
}

void TestControls::containerChildArea_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<bool>("showLines");
    QTest::addColumn<int>("glyphWidth");
    QTest::addColumn<QRect>("child");
    QTest::newRow("border 5, lines top right bottom") << 5 << true << 0 << QRect(5, 6, 200 - 11, 100 - 12);
    QTest::newRow("lines hidden give their pixels") << 5 << false << 0 << QRect(5, 5, 190, 90);
    QTest::newRow("picture at the left") << 0 << true << 16 << QRect(16, 1, 200 - 17, 100 - 2);
}

void TestControls::containerChildArea()
{
    QFETCH(int, border);
    QFETCH(bool, showLines);
    QFETCH(int, glyphWidth);
    QFETCH(QRect, child);
    TuiContainer container;
    container.resize(200, 100);
    auto* layout = new QVBoxLayout(&container);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* inner = new QWidget(&container);
    layout->addWidget(inner);
    container.SetBorderWidth(border);
    container.SetBoundLines(blTop | blRight | blBottom);
    container.SetShowBoundLines(showLines);
    if (glyphWidth) {
        QImage glyph(glyphWidth, 8, QImage::Format_RGB32);
        glyph.fill(Qt::red);
        container.SetGlyph(glyph);
    }
    container.show();
    QVERIFY(QTest::qWaitForWindowExposed(&container));
    QCOMPARE(inner->geometry(), child);
    container.resize(300, 150);
    QApplication::processEvents();
    QCOMPARE(inner->geometry(), child.adjusted(0, 0, 100, 50));
}

void TestControls::containerPixels()
{
    TuiContainer container;
    container.resize(200, 100);
    container.SetColor(QColor(0xC6F3AF));
    container.SetBoundColor(Qt::black);
    container.SetBoundLines(blTop | blRight | blBottom);
    container.SetBorderWidth(5);
    auto* child = new TuiCheckbox(&container);
    child->move(10, 10);
    const QImage image = container.grab().toImage();
    QCOMPARE(image.pixelColor(100, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(199, 50), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, 99), QColor(Qt::black));
    QCOMPARE(image.pixelColor(0, 50), QColor(0xC6F3AF));
    QCOMPARE(image.pixelColor(198, 50), QColor(0xC6F3AF));
    // A child check box paints its background in the container's colour.
    QCOMPARE(image.pixelColor(11, 11), QColor(0xC6F3AF));
    container.SetShowBoundLines(false);
    QCOMPARE(container.grab().toImage().pixelColor(100, 0), QColor(0xC6F3AF));
}

void TestControls::containerAffectsDirectChildrenOnly()
{
    TuiContainer container;
    auto* child = new TuiButton(&container);
    auto* inner = new TuiContainer(&container);
    auto* grandchild = new TuiButton(inner);
    QSignalSpy changed(&container, &TuiCustomContainer::OnEnabledChanged);
    container.setEnabled(false);
    QVERIFY(child->Enabled()); // emNormal: children keep their own flag
    container.setEnabled(true);
    container.SetEnabledMode(TuiEnabledMode::emAffectChilds);
    container.setEnabled(false);
    QVERIFY(!child->Enabled());
    QVERIFY(!inner->Enabled());
    QVERIFY(grandchild->Enabled());
    QCOMPARE(pixel(child, 36, 0), kOutlineDisabled);
    container.setEnabled(true);
    QVERIFY(child->Enabled());
    QVERIFY(changed.count() >= 4);
}

void TestControls::containerClickKeepsTheFocus()
{
    Form form;
    auto* container = new TuiContainer(&form.window);
    container->move(100, 60);
    QVERIFY(form.show());
    form.edit->setFocus();
    QTest::mouseClick(container, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QApplication::focusWidget(), form.edit);
    container->SetFocusable(true);
    QTest::mouseClick(container, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QApplication::focusWidget(), container);
}

void TestControls::containerCaptionTooWideStartsLeft()
{
    TuiContainer container;
    container.resize(60, 30);
    container.SetColor(Qt::white);
    container.SetFontColor(Qt::black);
    container.SetShowCaption(true);
    container.SetAlignment(TuiAlignment::Right);
    container.SetCaption(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    const QImage image = container.grab().toImage();
    // Drawn from the left (spacing 5) and cut short: ink close to the left edge.
    int firstInk = -1;
    for (int x = 0; x < 60 && firstInk < 0; ++x)
        for (int y = 0; y < 30; ++y)
            if (image.pixelColor(x, y).lightness() < 128) {
                firstInk = x;
                break;
            }
    QVERIFY2(firstInk >= 5 && firstInk <= 8, qPrintable(QString::number(firstInk)));
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
