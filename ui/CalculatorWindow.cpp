// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CalculatorWindow.h"

#include "platform/ClipboardReader.h"
#include "platform/WindowShape.h"
#include "settings/Program.h"
#include "ui/AboutWindow.h"
#include "ui/Artwork.h"
#include "ui/ButtonAccessible.h"
#include "ui/ClickableLabel.h"
#include "ui/DesktopCloseFilter.h"
#include "ui/DisplayBox.h"
#include "ui/DisplayMenu.h"
#include "ui/Layout.h"
#include "ui/OptionsMenu.h"
#include "ui/PopupSkin.h"
#include "ui/RecordListBox.h"
#include "ui/RecordPanel.h"
#include "ui/ShortcutKey.h"
#include "ui/SongFont.h"
#include "ui/TitleButton.h"
#include "ui/TypedCharacter.h"
#include "ui/WindowAccessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace ui {

template <typename Action> void CalculatorWindow::forward(Action action) {
    if (program_ != nullptr && !ended_) {
        action(*program_);
    }
}

CalculatorWindow::CalculatorWindow(QWidget* parent, WindowSystem::Kind system)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), system_(system),
      skinKeypad_(Artwork::pixmap(QStringLiteral("skin.jpg#0"))),
      skinPanel_(Artwork::pixmap(QStringLiteral("skin.jpg#1"))),
      smallFaces_{Artwork::pixmap(QStringLiteral("key-small.png")),
                  Artwork::pixmap(QStringLiteral("key-small-pressed.png"))},
      wideFaces_{Artwork::pixmap(QStringLiteral("key-wide.png")),
                 Artwork::pixmap(QStringLiteral("key-wide-pressed.png"))} {
    WindowAccessible::install();
    ButtonAccessible::install();
    setObjectName(QStringLiteral("Form1"));
    setAccessibleName(QString::fromUtf8(settings::kAppTitle));
    // Never drawn (the skin draws its own caption), but taskbars and window switchers show
    // it; left empty, Qt would put the bare executable name there.
    setWindowTitle(QString::fromUtf8(settings::kAppTitle));
    setWindowIcon(Artwork::icon(QStringLiteral("window-icon.png")));
    setFont(SongFont::pixelFont(SongFont::k12pt));
    setFixedSize(toPixels(settings::kNarrowWidthTwips), toPixels(settings::kWindowHeightTwips));
    // Where the window opens until a position has been saved.
    moveToTwips(settings::kFirstLeftTwips, settings::kFirstTopTwips);
    setMouseTracking(true);
    if (compositorPlaces()) {
        // There the mask only limits input; the corners are cut by leaving them unpainted.
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    buildImages();
    buildKeys();
    buildTitleButtons();
    for (const settings::MenuItemInfo& info : settings::menuItems()) {
        menuChecked_[static_cast<std::size_t>(info.item)] = info.checkedAtStart;
    }

    // The display is the window's focus: the keys and labels never take it, and the record
    // list does not either.
    setFocusProxy(display_);
    display_->setFocus();
    // Each control a key works too tells a screen reader which key.
    ButtonAccessible::setKeys(key(engine::Key::Options),
                              ShortcutKey::names(settings::Shortcut::OptionsMenu));
    ButtonAccessible::setKeys(aboutIcon_, ShortcutKey::names(settings::Shortcut::About));
    ButtonAccessible::setKeys(recordTab_, ShortcutKey::names(settings::Shortcut::RecordTab));
    ButtonAccessible::setKeys(titleButtons_[0], ShortcutKey::names(settings::Shortcut::Minimise));
    ButtonAccessible::setKeys(titleButtons_[1], ShortcutKey::names(settings::Shortcut::Exit));

    platform::WindowShape::apply(*this);
    // Typed characters reach the calculator whichever control has the focus.
    qApp->installEventFilter(this);
    closeFilter_ = std::make_unique<DesktopCloseFilter>(*this, [this] { closeFromDesktop(); });
    clipboard_ = std::make_unique<platform::ClipboardReader>();
}

CalculatorWindow::~CalculatorWindow() {
    qApp->removeEventFilter(this);
    delete about_.data();
}

void CalculatorWindow::buildImages() {
    display_ = new DisplayBox(Artwork::pixmap(QStringLiteral("display.png")),
                              Artwork::pixmap(QStringLiteral("voice-indicator.gif")), this);
    connect(display_, &DisplayBox::readAloudAsked, this,
            [this] { forward([](auto& p) { p.readAgain(); }); });
    connect(display_, &DisplayBox::menuAsked, this, &CalculatorWindow::popupDisplayMenu);
    // Once the focus event is out, so that the screen reader has met the display before it is
    // told the number.
    connect(
        display_, &DisplayBox::focused, this,
        [this] { forward([](auto& p) { p.displayFocused(); }); }, Qt::QueuedConnection);

    aboutIcon_ = new ClickableLabel(Artwork::pixmap(QStringLiteral("about-icon.png")), this);
    aboutIcon_->setObjectName(QStringLiteral("Image10"));
    aboutIcon_->setAccessibleName(QStringLiteral("关于"));
    aboutIcon_->setToolTip(QStringLiteral("关于"));
    aboutIcon_->setGeometry(toPixels(layout::kAboutIcon));
    aboutIcon_->setCursor(QCursor(Artwork::pixmap(QStringLiteral("about-cursor.png")),
                                  layout::kAboutCursorHotX, layout::kAboutCursorHotY));
    connect(aboutIcon_, &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.aboutIconClicked(); }); });

    recordTab_ = new ClickableLabel(Artwork::pixmap(QStringLiteral("record-tab.jpg")), this);
    recordTab_->setObjectName(QStringLiteral("Image9"));
    recordTab_->setAccessibleName(QStringLiteral("开启记录功能"));
    recordTab_->setToolTip(QStringLiteral("开启记录功能"));
    recordTab_->setGeometry(toPixels(layout::kRecordTab));
    connect(recordTab_, &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.recordTabClicked(); }); });
}

void CalculatorWindow::buildKeys() {
    for (const engine::KeyInfo& info : engine::keyTable()) {
        const bool wide = info.group == engine::KeyGroup::Operators;
        auto* button = new KeyButton(info, wide ? wideFaces_ : smallFaces_, this);
        keys_[static_cast<std::size_t>(info.key)] = button;
        const engine::Key key = info.key;
        connect(button, &QAbstractButton::clicked, this,
                [this, key] { forward([key](auto& p) { p.keyClicked(key); }); });
        connect(button, &KeyButton::lifted, this, &CalculatorWindow::paintKeyFaces);
    }
}

void CalculatorWindow::buildTitleButtons() {
    struct Title {
        const char* name;
        const char* accessibleName;
        const char* normal;
        const char* hover;
        TwipsRect place;
    };
    const Title titles[] = {
        {"Image1_0", "最小化", "minimise.png", "minimise-hover.png", layout::kMinimise},
        {"Image1_1", "退出", "close.png", "close-hover.png", layout::kClose},
    };
    for (std::size_t i = 0; i < titleButtons_.size(); ++i) {
        auto* button = new TitleButton(Artwork::pixmap(QLatin1String(titles[i].normal)),
                                       Artwork::pixmap(QLatin1String(titles[i].hover)), this);
        button->setObjectName(QLatin1String(titles[i].name));
        button->setAccessibleName(QString::fromUtf8(titles[i].accessibleName));
        button->setGeometry(toPixels(titles[i].place));
        connect(button, &TitleButton::hovered, this,
                [this] { forward([](auto& p) { p.titleHovered(); }); });
        titleButtons_[i] = button;
    }
    connect(titleButtons_[0], &QAbstractButton::clicked, this, &CalculatorWindow::minimise);
    connect(titleButtons_[1], &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.exitClicked(); }); });
}

RecordPanel& CalculatorWindow::panel() {
    if (panel_ != nullptr) {
        return *panel_;
    }
    panel_ = std::make_unique<RecordPanel>(*this);
    connect(panel_->clearLabel(), &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.clearRecordsClicked(); }); });
    connect(panel_->viewLabel(), &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.viewClicked(); }); });
    connect(panel_->saveLabel(), &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.saveClicked(); }); });
    connect(panel_->stopLabel(), &QAbstractButton::clicked, this,
            [this] { forward([](auto& p) { p.stopClicked(); }); });
    connect(panel_->list(), &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        const int row = panel_->list()->row(item);
        forward([row](auto& p) { p.recordLineChosen(row); });
    });
    ButtonAccessible::setKeys(panel_->clearLabel(),
                              ShortcutKey::names(settings::Shortcut::ClearRecords));
    ButtonAccessible::setKeys(panel_->viewLabel(),
                              ShortcutKey::names(settings::Shortcut::WideView));
    ButtonAccessible::setKeys(panel_->saveLabel(), ShortcutKey::names(settings::Shortcut::Save));
    ButtonAccessible::setKeys(panel_->stopLabel(),
                              ShortcutKey::names(settings::Shortcut::RecordTab));
    if (shownRecords_ != nullptr) {
        panel_->show(*shownRecords_);
    }
    return *panel_;
}

OptionsMenu* CalculatorWindow::optionsMenu() {
    if (menu_ == nullptr) {
        menu_ = new OptionsMenu(this);
        for (const settings::MenuItemInfo& info : settings::menuItems()) {
            menu_->setItemChecked(info.item, menuChecked_[static_cast<std::size_t>(info.item)]);
        }
        connect(menu_, &OptionsMenu::chosen, this, [this](settings::MenuItem item) {
            forward([item](auto& p) { p.menuChosen(item); });
        });
    }
    return menu_;
}

DisplayMenu* CalculatorWindow::displayMenu() {
    if (displayMenu_ == nullptr) {
        displayMenu_ = new DisplayMenu(this);
        connect(displayMenu_, &DisplayMenu::copyChosen, this, [this] {
            forward([](auto& p) { p.copyChosen(); });
            copyNumber();
        });
        connect(displayMenu_, &DisplayMenu::pasteChosen, this, [this] { startPaste(); });
        connect(displayMenu_, &DisplayMenu::readAgainChosen, this,
                [this] { forward([](auto& p) { p.readAgain(); }); });
        connect(displayMenu_, &DisplayMenu::readCalculationChosen, this,
                [this] { forward([](auto& p) { p.readCalculation(); }); });
        connect(displayMenu_, &DisplayMenu::styleChosen, this, [this](bool placeUnits) {
            forward([placeUnits](auto& p) {
                p.chooseReadingStyle(placeUnits ? engine::ReadingStyle::PlaceUnits
                                                : engine::ReadingStyle::Digits);
            });
        });
    }
    return displayMenu_;
}

// Nothing opens while a result is read aloud, as the options key opens nothing then.
void CalculatorWindow::popupDisplayMenu(QPoint globalPos) {
    if (program_ == nullptr || ended_ || program_->calculator().state().speaking) {
        return;
    }
    DisplayMenu* menu = displayMenu();
    menu->prepare(program_->calculator().keyboardOn(),
                  program_->readingStyle() == engine::ReadingStyle::PlaceUnits);
    menu->popup(globalPos);
}

void CalculatorWindow::paintDisplay(const engine::DisplayLayout& layout) {
    display_->paintLayout(layout);
}

void CalculatorWindow::setDisplayColour(settings::Rgb colour) {
    display_->setForeColour(QColor(colour.red, colour.green, colour.blue));
}

void CalculatorWindow::setIndicatorVisible(bool visible) {
    display_->indicator()->setVisible(visible);
}

void CalculatorWindow::paintKeyFaces() {
    for (KeyButton* button : keys_) {
        button->paintCaption();
    }
}

void CalculatorWindow::setMenuChecked(settings::MenuItem item, bool checked) {
    menuChecked_[static_cast<std::size_t>(item)] = checked;
    if (menu_ != nullptr) {
        menu_->setItemChecked(item, checked);
    }
}

void CalculatorWindow::popupOptionsMenu() {
    optionsMenu()->popup(optionsMenuPlace());
}

void CalculatorWindow::popupOptionsMenuAtKey() {
    OptionsMenu* menu = optionsMenu();
    menu->popup(optionsMenuPlace(true));
    // Opened by a key, the menu is worked with the arrow keys from its first item.
    menu->setActiveAction(menu->actions().value(0));
}

// A screen reader or the keyboard can press the options key with the pointer anywhere, and
// under a compositor the pointer's place on the desktop is not known at all: a menu opened
// at the pointer could then open far from the window.
QPoint CalculatorWindow::optionsMenuPlace(bool fromKeyboard) const {
    const QPoint pointer = QCursor::pos();
    if (!fromKeyboard && !compositorPlaces() && rect().contains(mapFromGlobal(pointer))) {
        return pointer;
    }
    const KeyButton* options = key(engine::Key::Options);
    return options->mapToGlobal(QPoint(0, options->height()));
}

void CalculatorWindow::showMessage(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    PopupSkin::dress(box);
    box.exec();
    // Without a window manager nobody hands the focus back, and typed keys would be lost.
    bringForward();
}

void CalculatorWindow::showAbout() {
    if (about_ == nullptr) {
        about_ = new AboutWindow();
        connect(about_, &AboutWindow::closed, this, &CalculatorWindow::aboutClosed);
        about_->move(x() + toPixels(layout::kAboutOffsetX), y() + toPixels(layout::kAboutOffsetY));
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void CalculatorWindow::closeAbout() {
    if (about_ != nullptr) {
        about_->close();
    }
}

AboutWindow* CalculatorWindow::aboutWindow() const {
    return about_.data();
}

void CalculatorWindow::aboutClosed() {
    if (!ended_ && isVisible()) {
        bringForward();
        platform::WindowShape::apply(*this);
    }
}

void CalculatorWindow::bringToFront() {
    if (ended_) {
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    bringForward();
}

void CalculatorWindow::bringForward() {
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void CalculatorWindow::showRecord(const record::RecordList& list) {
    shownRecords_ = &list;
    // An empty list in a closed panel shows nothing a new panel would not.
    if (panel_ != nullptr || !list.lines().empty()) {
        panel().show(list);
    }
}

void CalculatorWindow::setWidthTwips(int width) {
    setFixedSize(toPixels(width), height());
    // Cut off beyond the window's edge, the panel's controls would still reach a screen reader.
    const bool open = width >= settings::kWideWidthTwips;
    if (open || panel_ != nullptr) {
        panel().setOpen(open);
    }
    platform::WindowShape::apply(*this);
}

void CalculatorWindow::minimise() {
    if (!ended_) {
        showMinimized();
    }
}

// Positions are kept at 15 twips to a pixel of the screen, so that a window drawn larger
// (--scale, or a dense screen) still opens where it was left.
double CalculatorWindow::screenScale() const {
    const QScreen* shown = screen();
    return shown != nullptr && shown->devicePixelRatio() > 0 ? shown->devicePixelRatio() : 1.0;
}

void CalculatorWindow::moveToTwips(float left, float top) {
    placedTwips_ = QPointF(left, top);
    move(toPixels(left / screenScale()), toPixels(top / screenScale()));
}

// A compositor reports every window at 0, 0; the place the program last gave the window is
// what it saves there instead, so that a saved position survives a run.
float CalculatorWindow::leftTwips() const {
    return static_cast<float>(compositorPlaces() ? placedTwips_.x() : toTwips(x()) * screenScale());
}

float CalculatorWindow::topTwips() const {
    return static_cast<float>(compositorPlaces() ? placedTwips_.y() : toTwips(y()) * screenScale());
}

float CalculatorWindow::widthTwips() const {
    return static_cast<float>(toTwips(width()));
}

float CalculatorWindow::heightTwips() const {
    return static_cast<float>(toTwips(height()));
}

void CalculatorWindow::endProgram() {
    ended_ = true;
    closeAbout();
    close();
    emit ended();
}

void CalculatorWindow::selectRecordLine(int row) {
    RecordListBox* list = panel().list();
    list->setCurrentRow(row);
    list->scrollToItem(list->currentItem());
}

void CalculatorWindow::announce(const std::string& text) {
    display_->announce(QString::fromStdString(text));
}

void CalculatorWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (compositorPlaces()) {
        paintOutlineClip(painter);
    }
    // The skin is two pixels narrower than the open window; the window colour fills the rest.
    painter.fillRect(rect(), palette().window());
    // The skin comes in two halves; the panel's half lies outside a narrow window and is then
    // never read.
    painter.drawPixmap(0, 0, skinKeypad_);
    painter.drawPixmap(QPointF(skinKeypad_.deviceIndependentSize().width(), 0), skinPanel_);
    if (!drawn_) {
        drawn_ = true;
        // Once the whole window is drawn and shown (after this paint, its children's and the
        // flush), the pictures and the face are seldom read: their pages go back until then.
        // The work the first frame does not need comes then too: the program readies its
        // voice before the first sound anyway.
        QTimer::singleShot(0, this, [this] {
            Artwork::releasePixels();
            SongFont::releaseFace();
            forward([](auto& p) { p.prepareVoice(); });
        });
    }
}

// The corners outside the outline stay transparent, for the desktop to show through.
void CalculatorWindow::paintOutlineClip(QPainter& painter) const {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setClipRegion(platform::WindowShape::outline(*this));
}

bool CalculatorWindow::isBackground(const QPoint& pos) const {
    return rect().contains(pos) && childAt(pos) == nullptr;
}

void CalculatorWindow::mousePressEvent(QMouseEvent* event) {
    if (isBackground(event->pos())) {
        // The compositor drags the window itself and takes the release; where it cannot,
        // the window follows the pointer as it does elsewhere.
        dragging_ = !startSystemMove();
        grip_ = event->pos();
    }
    event->accept();
}

bool CalculatorWindow::startSystemMove() {
    QWindow* handle = windowHandle();
    return compositorPlaces() && handle != nullptr && handle->startSystemMove();
}

void CalculatorWindow::mouseMoveEvent(QMouseEvent* event) {
    // Only the press decides: the window follows whether or not a button is still held.
    if (dragging_) {
        move(event->globalPosition().toPoint() - grip_);
    }
    if ((dragging_ || isBackground(event->pos())) && program_ != nullptr &&
        !program_->calculator().state().noTitleHover) {
        for (TitleButton* button : titleButtons_) {
            button->setHoverFace(false);
        }
    }
    event->accept();
}

void CalculatorWindow::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    event->accept();
}

void CalculatorWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        platform::WindowShape::apply(*this);
    }
    QWidget::changeEvent(event);
}

void CalculatorWindow::closeFromDesktop() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) {
            dialog->done(QDialog::Rejected);
        }
    }
    // After the box's own event loop has ended and whatever showed it has finished.
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

void CalculatorWindow::closeEvent(QCloseEvent* event) {
    // A close the program did not ask for: the desktop's, or a signal's.
    if (!ended_ && !closedBySystem_) {
        closedBySystem_ = true;
        forward([](auto& p) { p.systemClose(); });
    }
    event->accept();
}

void CalculatorWindow::showEvent(QShowEvent* event) {
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        keepWithinReach();
    }
    QWidget::showEvent(event);
}

// A position saved on a wider screen, or on a monitor since unplugged, would open the window
// where nobody can see or reach it. Only then is the whole window brought onto the nearest
// screen; one that shows at least a corner to grab stays where it was left. The saved
// position is rewritten only by the next exit, from wherever the window is then.
void CalculatorWindow::keepWithinReach() {
    constexpr int kReachWidth = 100;
    constexpr int kReachHeight = 50;
    if (compositorPlaces()) {
        return;
    }
    const QRect placed(pos(), size());
    const QScreen* nearest = nullptr;
    // Squares of up to twice the farthest place a window can be put: beyond an int.
    qint64 nearestDistance = 0;
    for (const QScreen* candidate : QGuiApplication::screens()) {
        const QRect area = candidate->availableGeometry();
        const QRect seen = area.intersected(placed);
        if (seen.width() >= kReachWidth && seen.height() >= kReachHeight) {
            return;
        }
        const QPoint centre = placed.center();
        const qint64 dx = std::max({area.left() - centre.x(), 0, centre.x() - area.right()});
        const qint64 dy = std::max({area.top() - centre.y(), 0, centre.y() - area.bottom()});
        const qint64 distance = dx * dx + dy * dy;
        if (nearest == nullptr || distance < nearestDistance) {
            nearest = candidate;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return;
    }
    // A window larger than the screen keeps its top left corner, and so its title, in view.
    const QRect area = nearest->availableGeometry();
    const int left = std::max(area.left(), std::min(placed.left(), area.right() + 1 - width()));
    const int top = std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - height()));
    move(left, top);
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
        interruptReview(watched, event);
    }
    dropPendingPaste(*event);
    if (event->type() == QEvent::KeyPress && typed(watched, event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// A key press anywhere in this window types into the calculator and goes no further, so
// that no control acts on it too (and the filter, which sees the press again at each
// parent it travels to, forwards it once). Shortcuts come first: they are not characters,
// and they work with keyboard input off.
bool CalculatorWindow::typed(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || program_ == nullptr || ended_) {
        return false;
    }
    const auto& press = *static_cast<QKeyEvent*>(event);
    if (about_ != nullptr && widget->window() == about_) {
        return typedInAbout(press);
    }
    if (widget->window() != this) {
        return false;
    }
    if (hearCopyOrPaste(press)) {
        return true;
    }
    if (const std::optional<settings::Shortcut> shortcut = ShortcutKey::of(press)) {
        forwardShortcut(press, *shortcut);
        return true;
    }
    if (!program_->calculator().keyboardOn()) {
        return false;
    }
    const std::vector<int> codes = TypedCharacter::codes(press);
    if (codes.empty()) {
        return false;
    }
    for (int code : codes) {
        program_->characterTyped(code);
    }
    return true;
}

bool CalculatorWindow::typedInAbout(const QKeyEvent& press) {
    if (const std::optional<settings::Shortcut> shortcut = ShortcutKey::inAbout(press)) {
        forwardShortcut(press, *shortcut);
        return true;
    }
    return false;
}

void CalculatorWindow::forwardShortcut(const QKeyEvent& press, settings::Shortcut shortcut) {
    // A held key repeats; one press is one save, one menu.
    if (!press.isAutoRepeat()) {
        program_->shortcut(shortcut);
    }
}

// Shortcuts rather than characters: they work whether typed input is on or off (the
// program decides what each does then), and the control characters they type stay unread.
bool CalculatorWindow::hearCopyOrPaste(const QKeyEvent& key) {
    const bool hear = key.key() == Qt::Key_F5 && key.modifiers() == Qt::NoModifier;
    const bool copy = key.matches(QKeySequence::Copy);
    const bool paste = key.matches(QKeySequence::Paste);
    if (!hear && !copy && !paste) {
        return false;
    }
    // A held key repeats; one press is one reading, one paste.
    if (key.isAutoRepeat()) {
        return true;
    }
    if (hear) {
        program_->readAgain();
    } else if (copy) {
        copyNumber();
    } else {
        startPaste();
    }
    return true;
}

void CalculatorWindow::copyNumber() {
    forward([](auto& p) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(p.copyText()));
    });
}

// Any key or click of the user's in this window ends a review reading before it acts. A
// held key's repeats do not: holding F6 would stop the reading it started.
void CalculatorWindow::interruptReview(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        return;
    }
    forward([](auto& p) { p.interruptReview(); });
}

void CalculatorWindow::startPaste() {
    if (program_ == nullptr || ended_) {
        return;
    }
    clipboard_->start([this](std::optional<std::string> text) {
        // Nothing to be had sounds as a text that is not a number does.
        forward([&text](auto& p) { p.pasteText(text.value_or(std::string())); });
    });
}

// A paste answered after the user went on would land in the middle of what came next.
void CalculatorWindow::dropPendingPaste(const QEvent& event) {
    if (!clipboard_->pending()) {
        return;
    }
    if (event.type() == QEvent::MouseButtonPress) {
        clipboard_->cancel();
    } else if (event.type() == QEvent::KeyPress) {
        const auto& press = static_cast<const QKeyEvent&>(event);
        const int key = press.key();
        const bool modifier = key == Qt::Key_Control || key == Qt::Key_Shift ||
                              key == Qt::Key_Alt || key == Qt::Key_Meta || key == Qt::Key_AltGr;
        if (!modifier && !press.matches(QKeySequence::Paste)) {
            clipboard_->cancel();
        }
    }
}

} // namespace ui
