#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <type_traits>

namespace sordanel {

// A push button, check box or radio button whose text wraps onto several lines inside the
// control's own rectangle, where the plain Qt buttons would cut it off. text() stays the
// whole text, and the whole rectangle takes clicks.
template <class Button>
class MultiLineButton : public Button {
public:
    MultiLineButton(const QString& text, QWidget* parent) : Button(text, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.text.clear();
        painter.drawControl(kElement, option);
        painter.drawItemText(TextRect(option), kAlignment | Qt::TextWordWrap | Qt::TextShowMnemonic,
                             this->palette(), this->isEnabled(), this->text(),
                             QPalette::ButtonText);
    }

    bool hitButton(const QPoint& position) const override {
        return this->rect().contains(position);
    }

private:
    QRect TextRect(const QStyleOptionButton& option) const {
        if constexpr (kPush) {
            return this->style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        }
        // Everything right of the check mark or the dot.
        const int indicatorWidth =
            this->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
            this->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
        return this->rect().adjusted(indicatorWidth, 0, 0, 0);
    }

    static constexpr bool kPush = std::is_same_v<Button, QPushButton>;
    static constexpr bool kCheck = std::is_same_v<Button, QCheckBox>;
    static constexpr QStyle::ControlElement kElement =
        kPush ? QStyle::CE_PushButton : (kCheck ? QStyle::CE_CheckBox : QStyle::CE_RadioButton);
    static constexpr int kAlignment = kPush ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace sordanel
