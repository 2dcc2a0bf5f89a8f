#pragma once

#include <QLineEdit>

namespace sordanel {

// The text box of a value that an up/down control steps. Up and Down report a step of one,
// Page Up and Page Down one of five, as the arrows beside it would; the box handles no other
// key differently from a plain line edit.
class StepValueBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kPageStep = 5;

    explicit StepValueBox(QWidget* parent = nullptr, bool readOnly = true);

signals:
    void stepped(int step);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace sordanel
