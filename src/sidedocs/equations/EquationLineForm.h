#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sidedocs/equations/CEquation.h"

namespace qs {

// What the line dialog edits: a working copy of one line, the expression as typed, and the
// line text (or the error) the dialog shows under it. The dialog only mirrors these fields.
class EquationLineForm {
public:
    static constexpr size_t kMaxExpressionLength = 255;

    // `given` null: a new line (type 0, index 1). the set `context` reads must outlive the form.
    EquationLineForm(const CEquation* given, const EquationContext& context);

    const CEquation& Line() const { return line_; }
    const std::string& Expression() const { return expression_; }
    const std::string& LineText() const { return lineText_; }
    bool Valid() const { return valid_; }

    // The destination list's row for a type: "Digital Output #4 (AC)", "Timer #5 (1 sec)", ...
    static std::string DestinationRowText(int type);

    // Whether the index edit takes input for the line's destination.
    static bool IndexEditable(int type);
    bool IndexEditable() const { return IndexEditable(line_.type); }

    // A destination row picked: the index follows the destination, then the line is checked.
    void SetDestination(int type);
    // The index as entered; checked again only when it changed.
    void SetIndex(int index);
    void SetDisable(bool disable) { line_.disable = disable ? 1 : 0; }
    // The expression as typed.
    void SetExpression(std::string_view text) { expression_ = text; }

    // Replaces the selection [from, to) of the expression with `piece` (a keypad caption);
    // returns where the caret stands after it.
    size_t InsertAtCaret(size_t from, size_t to, std::string_view piece);
    // Inserts a register reference at the caret, then normalises and checks the expression.
    size_t InsertRegister(size_t from, size_t to, uint32_t registerId);
    static std::string RegisterReference(uint32_t registerId);

    // Builds the line text from the expression; false (the error shown instead) when the
    // expression does not make a line of this destination.
    bool Validate();
    // OK: the expression bounded, normalised and trimmed, then checked.
    bool Accept();

private:
    void Fail(int code);

    const EquationContext context_;
    CEquation line_;
    std::string expression_;
    std::string lineText_;
    bool valid_ = false;
};

}  // namespace qs
