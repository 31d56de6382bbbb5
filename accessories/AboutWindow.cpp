#include "accessories/AboutWindow.h"

#include "accessories/DeveloperInfo.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kLeft = 400, kTop = 300, kWidth = 428, kHeight = 238; // pixels
constexpr int kLeftColumn = 8, kRightColumn = 184, kFirstRow = 8, kRowStep = 24;
constexpr int kFontPixels = 13;

// Clicks on a label run a command.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString &text, std::function<void()> onClick, QWidget *parent)
        : QLabel(text, parent), onClick_(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
        QFont linkFont(QStringLiteral("Courier New"));
        linkFont.setPixelSize(kFontPixels);
        linkFont.setUnderline(true);
        setFont(linkFont);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

} // namespace

AboutWindow::AboutWindow(bool english, std::function<void()> openSite, std::function<void()> startMail, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("Veltrix 3.0"));
    setGeometry(kLeft, kTop, kWidth, kHeight);
    QFont windowFont(QStringLiteral("Courier New"));
    windowFont.setPixelSize(kFontPixels);
    setFont(windowFont);

    const char *const leftRussian[] = {"Программа", "Версия", "Разработчик", "Дата выхода", "Сайт автора",
                                       "E-mail автора"};
    const char *const leftEnglish[] = {"Program", "Version", "Developer", "Date of release", "Developer*s web-site",
                                       "Developer*s e-mail"};
    for (int row = 0; row < 6; ++row) {
        auto *label = new QLabel(QString::fromUtf8(english ? leftEnglish[row] : leftRussian[row]), this);
        label->move(kLeftColumn, kFirstRow + row * kRowStep);
        label->adjustSize();
    }
    const QString rightTexts[] = {QStringLiteral("Veltrix"), QStringLiteral("3.0"),
                                  QString::fromUtf8(english ? developer::kNameEnglish : developer::kNameRussian),
                                  QString::fromLatin1(developer::kReleaseDate)};
    for (int row = 0; row < 4; ++row) {
        auto *label = new QLabel(rightTexts[row], this);
        label->move(kRightColumn, kFirstRow + row * kRowStep);
        label->adjustSize();
    }
    auto *site = new LinkLabel(QString::fromLatin1(developer::kSite), std::move(openSite), this);
    site->setObjectName(QStringLiteral("SiteLabel"));
    site->move(kRightColumn, kFirstRow + 4 * kRowStep);
    site->adjustSize();
    auto *mail = new LinkLabel(QString::fromLatin1(developer::kMail), std::move(startMail), this);
    mail->setObjectName(QStringLiteral("MailLabel"));
    mail->move(kRightColumn, kFirstRow + 5 * kRowStep);
    mail->adjustSize();

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setGeometry(136, 176, 145, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

// Escape does not close the window: it has no cancelling button.
void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

CalendarWindow::CalendarWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CalendarWindow"));
    setWindowTitle(QStringLiteral("Calendar"));
    setGeometry(300, 200, 200, 200);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("MonthCalendar"));
    calendar->setSelectedDate(QDate::currentDate());
    layout->addWidget(calendar);
}
