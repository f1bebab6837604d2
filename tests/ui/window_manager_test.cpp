// The three windows under a real window manager: the frame the window
// manager draws, read back from the X server, has the size and place each
// window asks for. Run on an Xvfb display that openbox manages
// (tests/support/run_on_display.cmake).

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <optional>

#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "ui/about.h"
#include "ui/scores.h"
#include "ui/window_placement.h"

namespace tandrel::test {
namespace {

// The output of an X utility run on the window `id`.
QString RunOnWindow(const QString& program, QStringList arguments, WId id) {
    arguments << QStringLiteral("-id") << QString::number(id);
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::optional<int> Field(const QString& text, const QString& pattern) {
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}

// The outer frame as the X server knows it: the client window's place and
// size from xwininfo, grown by the window manager's _NET_FRAME_EXTENTS.
std::optional<QRect> FrameOnServer(WId id) {
    const QString extents =
        RunOnWindow(QStringLiteral("xprop"), {QStringLiteral("_NET_FRAME_EXTENTS")}, id);
    const QRegularExpressionMatch sides =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
    const QString info = RunOnWindow(QStringLiteral("xwininfo"), {}, id);
    const auto x = Field(info, QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)"));
    const auto y = Field(info, QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)"));
    const auto width = Field(info, QStringLiteral("Width:\\s+(\\d+)"));
    const auto height = Field(info, QStringLiteral("Height:\\s+(\\d+)"));
    if (!sides.hasMatch() || !x || !y || !width || !height) return std::nullopt;
    const int left = sides.captured(1).toInt();
    const int right = sides.captured(2).toInt();
    const int top = sides.captured(3).toInt();
    const int bottom = sides.captured(4).toInt();
    return QRect(*x - left, *y - top, *width + left + right, *height + top + bottom);
}

// Waits for the window manager to frame `window` as `expected`; reports the
// last frame seen otherwise.
void ExpectFrame(QWidget& window, const QRect& expected) {
    std::optional<QRect> frame;
    WaitFor(
        [&] {
            frame = FrameOnServer(window.winId());
            return frame == expected;
        },
        5000);
    ASSERT_TRUE(frame.has_value())
        << "no frame known for the window: "
        << RunOnWindow(QStringLiteral("xprop"), {QStringLiteral("_NET_FRAME_EXTENTS")},
                       window.winId())
               .toStdString()
        << RunOnWindow(QStringLiteral("xwininfo"), {}, window.winId()).toStdString();
    EXPECT_EQ(*frame, expected) << "frame " << frame->x() << "," << frame->y() << " "
                                << frame->width() << "x" << frame->height();
}

using FramesUnderOpenbox = MainWindowFixture;

TEST_F(FramesUnderOpenbox, EachWindowsFrameHasItsSizeAndPlace) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ShowAndActivate(window);
    ExpectFrame(window, QRect(202, 109, 237, 307));

    ui::ShowScores([this] { return logPath; });
    ExpectFrame(*scoreform, QRect(200, 104, 435, 300));

    ui::ShowAbout();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QSize aboutSize(302, 228);
    ExpectFrame(*aboutform1, QRect(ui::CentredFrameTopLeft(screen, aboutSize), aboutSize));
}

}  // namespace
}  // namespace tandrel::test
