// The notification-area icon, cursors, the caret and the clipboard.
#include "platform/image/png_codec.h"
#include "platform/win/cursor_file.h"
#include "platform/win/tray.h"
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::TestWindows;

constexpr uint32_t kTrayCallback = 0x1401;

class ShellServicesTest : public ::testing::Test {
protected:
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(ShellServicesTest, TrayIconsAreAddedChangedAndDeletedOnce) {
    Window w = windows.Popup({0, 0, 10, 10});
    NotifyIconData data;
    data.window = w;
    data.id = 128;
    data.flags = NIF_MESSAGE | NIF_TIP;
    data.callbackMessage = kTrayCallback;
    data.tip = std::u16string(200, u'x');
    EXPECT_TRUE(ShellNotifyIcon(NIM_ADD, &data));
    EXPECT_FALSE(ShellNotifyIcon(NIM_ADD, &data));
    auto icons = GetTrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].tip.size(), kNotifyTipLength);
    EXPECT_GE(icons[0].rect.top, 1040);  // in the task bar
    EXPECT_LE(icons[0].rect.bottom, 1080);

    data.flags = NIF_TIP;
    data.tip = u"Vexlo更新程序";
    EXPECT_TRUE(ShellNotifyIcon(NIM_MODIFY, &data));
    EXPECT_EQ(GetTrayIcons()[0].tip, u"Vexlo更新程序");
    EXPECT_EQ(GetTrayIcons()[0].callbackMessage, kTrayCallback);  // untouched by a tip change
    ASSERT_EQ(h.backend().TrayIcons().size(), 1u);
    EXPECT_EQ(h.backend().TrayIcons()[0].tip, u"Vexlo更新程序");

    EXPECT_TRUE(ShellNotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(ShellNotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(ShellNotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(GetTrayIcons().empty());
    EXPECT_TRUE(h.backend().TrayIcons().empty());
}

TEST_F(ShellServicesTest, ClicksOnTheIconReachTheOwnerAsCallbackMessages) {
    std::vector<std::pair<uintptr_t, intptr_t>> callbacks;
    gfx::Point cursorAtRightUp;
    Window activeAtCallback;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window, uint32_t m, uintptr_t wp, intptr_t lp) -> std::optional<intptr_t> {
        if (m == kTrayCallback) {
            callbacks.emplace_back(wp, lp);
            if (lp == WM_RBUTTONUP) {
                GetCursorPos(&cursorAtRightUp);
                activeAtCallback = GetActiveWindow();
            }
        }
        return std::nullopt;
    });
    NotifyIconData data{w, 128, NIF_MESSAGE, kTrayCallback, Icon{}, u""};
    ASSERT_TRUE(ShellNotifyIcon(NIM_ADD, &data));
    ASSERT_TRUE(h.ClickTrayIcon(w, 128, MouseButton::Right));
    EXPECT_THAT(callbacks, ElementsAre(std::pair<uintptr_t, intptr_t>{128, WM_MOUSEMOVE},
                                       std::pair<uintptr_t, intptr_t>{128, WM_RBUTTONDOWN},
                                       std::pair<uintptr_t, intptr_t>{128, WM_RBUTTONUP}));
    gfx::Rect icon;
    GetTrayIconRect(w, 128, &icon);
    EXPECT_TRUE(icon.Contains(cursorAtRightUp.x, cursorAtRightUp.y));  // the cursor is on the icon
    EXPECT_FALSE(activeAtCallback);  // the task bar took the foreground with the press
    EXPECT_TRUE(SetForegroundWindow(w));
    EXPECT_EQ(GetActiveWindow(), w);

    // An icon whose owner is gone disappears when the mouse reaches it.
    DestroyWindow(w);
    EXPECT_EQ(GetTrayIcons().size(), 1u);
    h.ClickTrayIcon(w, 128);
    EXPECT_TRUE(GetTrayIcons().empty());
}

TEST_F(ShellServicesTest, TheCurrentCursorIsRecordedWhenItChanges) {
    const Cursor arrow = LoadCursor(0, IDC_ARROW);
    const Cursor hand = LoadCursor(0, IDC_HAND);
    EXPECT_EQ(LoadCursor(0, IDC_ARROW), arrow);  // shared
    EXPECT_FALSE(LoadCursor(0, 12345));
    SetCursor(arrow);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(hand), arrow);
    EXPECT_THAT(h.CursorHistory(), ElementsAre(arrow, hand));
    EXPECT_THAT(h.backend().CursorShapes(), ElementsAre(IDC_ARROW, IDC_HAND));
    EXPECT_FALSE(DestroyCursor(arrow));

    gfx::Bitmap picture(8, 8);
    const Cursor own = CreateCursorFromBitmap(picture, {20, 3});
    gfx::Point hot;
    EXPECT_EQ(GetCursorImage(own, &hot).width(), 8);
    EXPECT_EQ(hot, (gfx::Point{7, 3}));  // kept inside the picture
    SetCursor(own);
    EXPECT_EQ(h.backend().CursorShapes().back(), 0u);
    EXPECT_TRUE(DestroyCursor(own));
    EXPECT_FALSE(DestroyCursor(own));
}

// A .cur file with one 2 x 2 image of 32 bits, hotspot (1, 0).
std::string TinyCursorFile(uint16_t type, bool withAlpha) {
    std::string f;
    auto u16 = [&](uint16_t v) { f.push_back(static_cast<char>(v)); f.push_back(static_cast<char>(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(static_cast<uint16_t>(v)); u16(static_cast<uint16_t>(v >> 16)); };
    const uint32_t dibSize = 40 + 2 * 2 * 4 + 2 * 4;
    u16(0); u16(type); u16(1);
    f.push_back(2); f.push_back(2); f.push_back(0); f.push_back(0);
    u16(1); u16(0);  // hotspot
    u32(dibSize); u32(22);
    u32(40); u32(2); u32(4); u16(1); u16(32); u32(0); u32(0); u32(0); u32(0); u32(0); u32(0);
    // Bottom row first: (0,1) red, (1,1) green; top row: (0,0) blue, (1,0) white.
    for (uint32_t bgra : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu}) u32(bgra | (withAlpha ? 0xFF000000u : 0));
    // AND mask, bottom row first: (0,1) transparent.
    u32(0x80);  // first byte 0x80: the leftmost pixel
    u32(0);
    return f;
}

TEST(CursorFileTest, ReadsDibAndPngImagesAndRefusesMalformedFiles) {
    gfx::Bitmap image;
    gfx::Point hot;
    ASSERT_TRUE(DecodeCursorFile(TinyCursorFile(2, true), &image, &hot));
    EXPECT_EQ(hot, (gfx::Point{1, 0}));
    EXPECT_EQ(image.pixel(0, 0), 0xFF0000FFu);  // rows are stored bottom-up
    EXPECT_EQ(image.pixel(0, 1), 0xFFFF0000u);  // per-pixel alpha wins over the mask
    ASSERT_TRUE(DecodeCursorFile(TinyCursorFile(2, false), &image, &hot));
    EXPECT_EQ(image.pixel(0, 1), 0u);           // without alpha the mask decides
    EXPECT_EQ(image.pixel(1, 1), 0xFF00FF00u);
    ASSERT_TRUE(DecodeCursorFile(TinyCursorFile(1, true), &image, &hot));
    EXPECT_EQ(hot, (gfx::Point{1, 1}));  // an icon's hotspot is its centre

    gfx::Bitmap picture(3, 3);
    picture.set_pixel(1, 1, 0xFF123456);
    std::string png;
    ASSERT_TRUE(image::EncodePng(picture, png));
    std::string ico = TinyCursorFile(1, true).substr(0, 22);
    ico[8] = 3;
    ico[9] = 3;
    for (int i = 0; i < 4; ++i) ico[14 + i] = static_cast<char>((png.size() >> (8 * i)) & 0xFF);
    ico += png;
    ASSERT_TRUE(DecodeCursorFile(ico, &image, &hot));
    EXPECT_EQ(image.pixel(1, 1), 0xFF123456u);

    const std::string good = TinyCursorFile(2, true);
    std::string badType = good;
    badType[2] = 3;
    std::string pastEnd = good;
    pastEnd[18] = 100;  // the image offset points past the file
    std::string hugeWidth = good;
    hugeWidth[22 + 4] = static_cast<char>(0xFF);
    hugeWidth[22 + 5] = 0x7F;
    std::string oddHeight = good;
    oddHeight[22 + 8] = 3;
    for (const std::string& bad : {std::string(), good.substr(0, 30), badType, pastEnd, hugeWidth, oddHeight}) {
        gfx::Bitmap untouched(1, 1);
        EXPECT_FALSE(DecodeCursorFile(bad, &untouched, &hot));
        EXPECT_EQ(untouched.width(), 1);
    }
    headless::HeadlessHarness h;
    EXPECT_TRUE(CreateCursorFromFileData(good));
    EXPECT_FALSE(CreateCursorFromFileData(pastEnd));
}

TEST_F(ShellServicesTest, TheCaretBlinksOnTheSystemClockAndShowsInPaintFrames) {
    Window w = windows.Popup({0, 0, 20, 20});
    h.Pump();
    ASSERT_TRUE(CreateCaret(w, 1, 10));
    EXPECT_FALSE(GetCaretInfo().shown);  // hidden until shown
    SetCaretPos(5, 2);
    ShowCaret(w);
    EXPECT_TRUE(GetCaretInfo().visibleNow);
    h.Advance(530);
    EXPECT_FALSE(GetCaretInfo().visibleNow);
    h.Advance(530);
    EXPECT_TRUE(GetCaretInfo().visibleNow);
    h.Advance(530);
    SetCaretPos(6, 2);  // a moved caret shows at once
    EXPECT_TRUE(GetCaretInfo().visibleNow);
    EXPECT_EQ(GetCaretInfo().rect, (gfx::Rect{6, 2, 7, 12}));

    {
        WindowDC dc(w);  // an all-transparent surface: the caret inverts it to white
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) dc.surface()->set_pixel(x, y, 0xFF000000);
        }
    }
    auto frame = h.backend().LastFrame(w);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixels.pixel(6, 5), 0xFFFFFFFFu);
    EXPECT_EQ(frame->pixels.pixel(7, 5), 0xFF000000u);
    HideCaret(w);
    EXPECT_FALSE(GetCaretInfo().visibleNow);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(GetCaretPos(nullptr));
}

TEST_F(ShellServicesTest, TheClipboardHoldsUnicodeText) {
    EXPECT_FALSE(IsClipboardTextAvailable());
    EXPECT_TRUE(SetClipboardText(u"复制 text"));
    EXPECT_EQ(GetClipboardText(), std::u16string(u"复制 text"));
    EXPECT_TRUE(SetClipboardText(u""));
    EXPECT_TRUE(IsClipboardTextAvailable());
}

}  // namespace
}  // namespace vexlo::win
