#pragma once

#include <QObject>
#include <functional>

// The look of every hint (tooltip): Courier New, 10 points, underlined, on
// the desktop's tooltip colour.
void applyHintStyle();

// Calls `aboutToShow` before any hint of the application is shown, for as long
// as it lives.
class HintWatcher : public QObject {
    Q_OBJECT
public:
    explicit HintWatcher(std::function<void()> aboutToShow);
    ~HintWatcher() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> aboutToShow_;
};
