// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/KeyTable.h"
#include "settings/MainView.h"
#include "settings/Shortcut.h"
#include "ui/KeyButton.h"
#include "ui/WindowSystem.h"

#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class QKeyEvent;
class QPainter;

namespace platform {
class ClipboardReader;
}

namespace settings {
class Program;
}

namespace ui {

class AboutWindow;
class ClickableLabel;
class DesktopCloseFilter;
class DisplayBox;
class DisplayMenu;
class OptionsMenu;
class RecordPanel;
class TitleButton;

// The skinned main window. It draws what the program tells it to and hands every click,
// typed character and menu choice to the program; it keeps no state of the calculator,
// the record or the options.
class CalculatorWindow : public QWidget, public settings::MainView {
    Q_OBJECT
  public:
    explicit CalculatorWindow(QWidget* parent = nullptr,
                              WindowSystem::Kind system = WindowSystem::current());
    ~CalculatorWindow() override;

    // The program whose events this window forwards; until then the window is inert.
    void attach(settings::Program& program) { program_ = &program; }

    void paintDisplay(const engine::DisplayLayout& layout) override;
    void setDisplayColour(settings::Rgb colour) override;
    void setIndicatorVisible(bool visible) override;
    void paintKeyFaces() override;
    void setMenuChecked(settings::MenuItem item, bool checked) override;
    void popupOptionsMenu() override;
    void popupOptionsMenuAtKey() override;
    void showMessage(const std::string& title, const std::string& text) override;
    void showAbout() override;
    void closeAbout() override;
    void showRecord(const record::RecordList& list) override;
    void setWidthTwips(int width) override;
    void moveToTwips(float left, float top) override;
    void minimise() override;
    float leftTwips() const override;
    float topTwips() const override;
    float widthTwips() const override;
    float heightTwips() const override;
    void endProgram() override;
    void selectRecordLine(int row) override;
    void announce(const std::string& text) override;

    KeyButton* key(engine::Key key) const { return keys_[static_cast<std::size_t>(key)]; }
    DisplayBox* display() const { return display_; }
    TitleButton* titleButton(int index) const { return titleButtons_.at(index); }
    // The menu and the record panel are built when first needed: the first frame shows
    // neither unless the panel was left open.
    OptionsMenu* optionsMenu();
    // The display's own menu, opened by a right press on it.
    DisplayMenu* displayMenu();
    AboutWindow* aboutWindow() const;
    // Null until the panel has been opened or has had records to show.
    const RecordPanel* recordPanel() const { return panel_.get(); }
    // Shows the window in front, restored if it was minimised: another launch wanted it.
    void bringToFront();
    // Where the options menu opens: at the pointer when it is over the window, else (and
    // always when opened from the keyboard) below the options key.
    QPoint optionsMenuPlace(bool fromKeyboard = false) const;
    // The desktop asks to close the window while a box is open: a system close is never
    // refused, so the boxes go unanswered and the window closes as for any desktop close.
    void closeFromDesktop();
    // Ctrl+V, and every other way to paste: asks for the clipboard's text and enters it when
    // it comes, without waiting for it. Another key or click first drops the answer; a
    // paste asked for while one is pending is ignored.
    void startPaste();

  signals:
    // The program has ended itself; nothing of it runs any more.
    void ended();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildKeys();
    void buildTitleButtons();
    void buildImages();
    RecordPanel& panel();
    // Under a compositor the window neither knows nor chooses where it is.
    bool compositorPlaces() const { return system_ == WindowSystem::Kind::Compositor; }
    double screenScale() const;
    bool isBackground(const QPoint& pos) const;
    void keepWithinReach();
    bool startSystemMove();
    void paintOutlineClip(QPainter& painter) const;
    bool typed(QObject* watched, QEvent* event);
    bool typedInAbout(const QKeyEvent& press);
    void forwardShortcut(const QKeyEvent& press, settings::Shortcut shortcut);
    bool hearCopyOrPaste(const QKeyEvent& key);
    void copyNumber();
    void popupDisplayMenu(QPoint globalPos);
    void interruptReview(QObject* watched, QEvent* event);
    void dropPendingPaste(const QEvent& event);
    void aboutClosed();
    void bringForward();
    // Runs a forwarder only while a program is attached and has not ended.
    template <typename Action> void forward(Action action);

    WindowSystem::Kind system_;
    settings::Program* program_ = nullptr;
    QPixmap skinKeypad_;
    QPixmap skinPanel_;
    KeyFaces smallFaces_;
    KeyFaces wideFaces_;
    std::array<KeyButton*, engine::kKeyCount> keys_{};
    std::array<TitleButton*, 2> titleButtons_{};
    DisplayBox* display_ = nullptr;
    ClickableLabel* aboutIcon_ = nullptr;
    ClickableLabel* recordTab_ = nullptr;
    OptionsMenu* menu_ = nullptr;
    DisplayMenu* displayMenu_ = nullptr;
    // The marks the menu shows, kept while it is not built yet.
    std::array<bool, settings::kMenuItemCount> menuChecked_{};
    std::unique_ptr<RecordPanel> panel_;
    // The list the program last gave, for a panel built after it (the program's own list).
    const record::RecordList* shownRecords_ = nullptr;
    QPointer<AboutWindow> about_;
    std::unique_ptr<DesktopCloseFilter> closeFilter_;
    std::unique_ptr<platform::ClipboardReader> clipboard_;

    // The last place the program gave the window, for desktops that never report one.
    QPointF placedTwips_;
    bool dragging_ = false;
    QPoint grip_;
    bool ended_ = false;
    bool closedBySystem_ = false;
    bool drawn_ = false;
    bool placed_ = false;
};

} // namespace ui
