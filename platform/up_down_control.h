#pragma once

#include <QWidget>

class QToolButton;

namespace sordanel {

// Two arrow buttons that report steps: +1 for a click on the upper arrow and -1 for the lower
// one; holding an arrow repeats the step. The control keeps no position of its own, and the
// keyboard reaches the same steps through the value box beside it (StepValueBox).
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    QToolButton* upArrow() const { return upArrow_; }
    QToolButton* downArrow() const { return downArrow_; }

signals:
    void stepped(int step);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* upArrow_;
    QToolButton* downArrow_;
};

}  // namespace sordanel
