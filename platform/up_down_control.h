#pragma once

#include <QWidget>

class QToolButton;

namespace sordanel {

// Two arrow buttons that report steps: +1 for a click on the upper arrow and -1 for the lower
// one while the range runs upward (lower bound below upper), the reverse otherwise. Holding an
// arrow repeats the step. The control keeps no position of its own.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);
    // Only the direction of the range matters: which arrow steps up.
    void SetRange(int lower, int upper);

signals:
    void stepped(int step);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* upArrow_;
    QToolButton* downArrow_;
    int upStep_ = 1;
};

}  // namespace sordanel
