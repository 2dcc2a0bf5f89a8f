#include "tab_control.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace sordanel {

TabControl::TabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    connect(tabs_, &QTabBar::currentChanged, this, &TabControl::currentChanged);
}

void TabControl::AddTab(const QString& text) {
    tabs_->addTab(text);
    tabs_->resize(tabs_->sizeHint());
    update();
}

int TabControl::currentIndex() const {
    return tabs_->currentIndex();
}

void TabControl::setCurrentIndex(int index) {
    tabs_->setCurrentIndex(index);
}

void TabControl::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame pane;
    pane.initFrom(this);
    const int tabHeight = tabs_->sizeHint().height();
    pane.rect = rect().adjusted(0, tabHeight - 1, 0, 0);
    pane.tabBarSize = tabs_->size();
    pane.tabBarRect = tabs_->geometry();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, pane);
}

void TabControl::resizeEvent(QResizeEvent*) {
    tabs_->resize(tabs_->sizeHint());
}

}  // namespace sordanel
