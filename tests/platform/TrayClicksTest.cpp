#include "platform/TrayClicks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using platform::TrayClicks;
using Activation = platform::TrayIcon::Activation;
using Raw = TrayClicks::Raw;

namespace {

constexpr int kDoubleClickMs = 50;
constexpr int kDeadlineMs = 5000;

struct Recorder {
    std::vector<Activation> got;
    TrayClicks clicks{kDoubleClickMs, [this](Activation a) { got.push_back(a); }};

    void waitFor(size_t count)
    {
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count && clock.elapsed() < kDeadlineMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
};

} // namespace

TEST(TrayClicksTest, OnAnXEmbedTrayADoubleClickRestoresAndNeverOpensTheMenu)
{
    Recorder r;
    // What Qt reports for a double click there: press, press, double click.
    r.clicks.receive(Raw::LeftPress);
    r.clicks.receive(Raw::LeftPress);
    r.clicks.receive(Raw::DoublePress);
    EXPECT_EQ(r.got, std::vector<Activation>{Activation::DoubleClick});
    r.clicks.receive(Raw::RightPress); // no click left waiting to fire later
    r.waitFor(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(r.got, (std::vector<Activation>{Activation::DoubleClick, Activation::RightClick}));
}

TEST(TrayClicksTest, OnAnXEmbedTrayASingleClickOpensTheMenuOnceTheIntervalHasPassed)
{
    Recorder r;
    r.clicks.receive(Raw::LeftPress);
    EXPECT_TRUE(r.got.empty());
    r.waitFor(1);
    EXPECT_EQ(r.got, std::vector<Activation>{Activation::LeftClick});
}

TEST(TrayClicksTest, WhereTheTrayReportsNoDoubleClicksALeftClickRestores)
{
    Recorder r;
    r.clicks.setReportsDoubleClicks(false);
    r.clicks.receive(Raw::LeftPress);
    r.clicks.receive(Raw::RightPress);
    EXPECT_EQ(r.got, (std::vector<Activation>{Activation::DoubleClick, Activation::RightClick}));
}
