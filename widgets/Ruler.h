#pragma once

#include <QFrame>

class QLabel;

// The ruler band: a centimetre scale and the three indent markers.
class RulerBand : public QFrame {
    Q_OBJECT
public:
    explicit RulerBand(QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *CurPos = nullptr;
    QLabel *LeftIndent = nullptr;
    QLabel *RightIndent = nullptr;

    static constexpr int kHeight = 25;
    static constexpr int kScaleWidth = 682;
    static constexpr int kScaleHeight = 20;
};
