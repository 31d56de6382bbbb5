#pragma once

#include <QFrame>

class QLabel;

// The ruler band: a centimetre scale and the three indent markers. A marker
// follows the pointer while pressed, with no bounds; its release is reported
// as a drop, for the window to turn into an indent.
class RulerBand : public QFrame {
    Q_OBJECT
public:
    enum class Marker { CurPos, LeftIndent, RightIndent };

    explicit RulerBand(QWidget *parent = nullptr);

    int markerLeft(Marker marker) const;
    void placeMarker(Marker marker, int left);

    // True from a press on a marker to its release.
    bool dragging() const { return dragging_; }
    // Half the width of the marker last pressed, in pixels.
    int grabOffset() const { return grabOffset_; }

    // Moves the first-line and left-indent markers that lie left of the scale
    // back onto it, unless a marker is being dragged; true for the left-indent
    // marker when it moved.
    bool pullMarkersOntoScale();

    QLabel *scale() const { return Image1; }

    static constexpr int kHeight = 25;
    static constexpr int kScaleWidth = 682;
    static constexpr int kScaleHeight = 20;

Q_SIGNALS:
    void markerDropped(RulerBand::Marker marker);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *label(Marker marker) const;

    QLabel *Image1 = nullptr;
    QLabel *CurPos = nullptr;
    QLabel *LeftIndent = nullptr;
    QLabel *RightIndent = nullptr;
    bool dragging_ = false;
    int grabOffset_ = 0;
};
