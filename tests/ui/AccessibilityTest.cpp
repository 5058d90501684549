#include "WindowHarness.h"

#include "ui/DisplayBox.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

using uitest::WindowHarness;

TEST(Accessibility, every_key_and_control_has_a_chinese_name) {
    WindowHarness h;
    const std::pair<const char*, const char*> rows[] = {
        {"一", "Picture1_0"},   {"五", "Picture1_4"},       {"九", "Picture1_8"},
        {"零", "Picture1_9"},   {"小数点", "Picture1_10"},  {"正负号", "Picture6"},
        {"清空", "Picture4_0"}, {"退格", "Picture4_1"},     {"选项", "Picture4_2"},
        {"加", "Picture2_0"},   {"减", "Picture2_1"},       {"乘", "Picture2_2"},
        {"除", "Picture2_3"},   {"等于", "Picture2_4"},     {"显示", "Picture5"},
        {"计算记录", "List1"},  {"最小化", "Image1_0"},     {"退出", "Image1_1"},
        {"关于", "Image10"},    {"开启记录功能", "Image9"}, {"清空记录", "Label1"},
        {"停止记录", "Label3"}, {"保存到文件", "Label6"},
    };
    for (const auto& [name, objectName] : rows) {
        QWidget* control = h.byAccessibleName(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->objectName(), QLatin1String(objectName)) << name;
    }
}

TEST(Accessibility, keys_are_buttons_a_screen_reader_can_press) {
    WindowHarness h;
    QAccessibleInterface* five =
        QAccessible::queryAccessibleInterface(h.byAccessibleName(QStringLiteral("五")));
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->role(), QAccessible::Button);
    ASSERT_NE(five->actionInterface(), nullptr);
    five->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.display() == "5"; }, 2000));
}

TEST(Accessibility, display_exposes_the_number_it_shows) {
    WindowHarness h;
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(h.window.display());
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->text(QAccessible::Name), QStringLiteral("显示"));
    EXPECT_EQ(display->text(QAccessible::Value), QStringLiteral("0"));
    h.typeText(QStringLiteral("3.5"));
    EXPECT_EQ(display->text(QAccessible::Value), QStringLiteral("3.5"));
    EXPECT_EQ(display->text(QAccessible::Description), QStringLiteral("3.5"));
    ASSERT_NE(display->valueInterface(), nullptr);
    EXPECT_EQ(display->valueInterface()->currentValue().toString(), QStringLiteral("3.5"));
}

TEST(Accessibility, every_drawing_is_announced_even_of_the_same_number) {
    WindowHarness h;
    QStringList announced;
    QObject::connect(h.window.display(), &ui::DisplayBox::announced,
                     [&](const QString& text) { announced << text; });
    h.typeText(QStringLiteral("2+2="));
    EXPECT_EQ(announced, (QStringList{"2", "2", "4"}));
}
