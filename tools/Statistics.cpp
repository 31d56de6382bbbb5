#include "tools/Statistics.h"

#include "editor/RichEditStrings.h"
#include "editor/TRxRichEdit.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace statistics {

namespace {

constexpr int kWidth = 250;
constexpr int kHeight = 150;
constexpr int kCaptionLeft = 8;
constexpr int kCountLeft = 210;
constexpr int kRightMargin = 8;
constexpr int kRowTops[3] = {8, 32, 56};

// With no Cancel button there is nothing for Escape to do.
class StatisticsWindow : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
};

QLabel *addLabel(QDialog &window, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, &window);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

DocumentCounts countDocument(TRxRichEdit &editor)
{
    DocumentCounts counts;
    counts.lines = editor.Lines().Count();
    counts.characters = editor.Text().size();
    counts.selected = editor.SelectedText().size();
    return counts;
}

std::unique_ptr<QDialog> buildStatisticsWindow(const DocumentCounts &counts, bool english, QWidget *owner)
{
    auto window = std::make_unique<StatisticsWindow>(owner);
    window->setWindowTitle(english ? QStringLiteral("Program statistics") : QString::fromUtf8("Статистика программы"));
    window->setFont(QFont(QStringLiteral("Courier New"), 10));

    const QString captions[3] = {
        english ? QStringLiteral("Strings count") : QString::fromUtf8("Количество строк"),
        english ? QStringLiteral("Chars count (all)") : QString::fromUtf8("Количество знаков всего"),
        english ? QStringLiteral("Chars count") : QString::fromUtf8("Количество знаков"),
    };
    const qsizetype values[3] = {counts.lines, counts.characters, counts.selected};
    int widest = 0;
    for (int row = 0; row < 3; ++row) {
        const QLabel *caption = addLabel(*window, captions[row], kCaptionLeft, kRowTops[row]);
        const QLabel *value = addLabel(*window, QString::number(values[row]), kCountLeft, kRowTops[row]);
        widest = std::max({widest, caption->geometry().right() + 1, value->geometry().right() + 1});
    }

    auto *ok = new QPushButton(window->style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"),
                               window.get());
    ok->setGeometry(75, 80, 100, 30);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, window.get(), &QDialog::accept);

    // A long count would be cut off at the window's edge.
    window->resize(std::max(kWidth, widest + kRightMargin), kHeight);
    const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

} // namespace statistics
