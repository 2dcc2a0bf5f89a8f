#pragma once

#include <QWidget>

class QTabBar;

namespace sordanel {

// A row of tabs over a framed pane. The pane has no children: the dialog's own controls stand
// on it and the dialog shows or hides them when the current tab changes.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);
    void AddTab(const QString& text);
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* tabBar() const { return tabs_; }

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* tabs_;
};

}  // namespace sordanel
