#pragma once

#include <QColor>
#include <QComboBox>

// A drop-down list of colours, each entry a swatch and a name.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget *parent = nullptr);

    QColor selected() const;
    // Selects the entry of that colour; a colour the list lacks selects nothing.
    void setSelected(const QColor &color);
    QColor defaultColor() const { return defaultColor_; }
    void setDefaultColor(const QColor &color) { defaultColor_ = color; }

Q_SIGNALS:
    // A colour picked by the user.
    void colorSelected(const QColor &color);

private:
    QColor defaultColor_ = Qt::black;
};
