#include "platform/text_limit_validator.h"

namespace sordanel {

int CharacterCount(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) {
            ++count;
        }
    }
    return count;
}

TextLimitValidator::TextLimitValidator(int maxChars, QObject* parent)
    : QValidator(parent), maxChars_(maxChars) {}

QValidator::State TextLimitValidator::validate(QString& input, int& pos) const {
    int excess = CharacterCount(input) - maxChars_;
    // What was just typed or pasted stands right before the cursor: drop its tail, whole
    // characters only.
    int cut = pos;
    while (excess > 0 && cut > 0) {
        --cut;
        if (cut > 0 && input[cut].isLowSurrogate() && input[cut - 1].isHighSurrogate()) {
            --cut;
        }
        --excess;
    }
    if (excess > 0) {
        return Invalid;
    }
    input.remove(cut, pos - cut);
    pos = cut;
    return Acceptable;
}

}  // namespace sordanel
