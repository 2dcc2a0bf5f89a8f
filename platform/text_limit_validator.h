#pragma once

#include <QValidator>

namespace sordanel {

// Characters of `text` as the user sees them: a character beyond the Basic Multilingual Plane
// counts once, though a QString holds it as two UTF-16 units.
int CharacterCount(QStringView text);

// Holds a text box to a number of characters as the user sees them, which QLineEdit's own
// maximum length cannot do: it counts UTF-16 units and may cut a character in two. Like a full
// box, it refuses typing past the limit and keeps only the head of a paste that fits.
class TextLimitValidator : public QValidator {
public:
    TextLimitValidator(int maxChars, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int maxChars_;
};

}  // namespace sordanel
