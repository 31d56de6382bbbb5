#pragma once

#include <QWidget>

// The calculator window: created hidden at start, shown on demand, alive until
// the program ends.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
};
