// Korean texts: what stands in parentheses is read only when it is long enough.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::orvatone {

// A text in () or （） is kept, parentheses included, when it has at least `minimumLength`
// characters (code points between the parentheses); otherwise it is dropped with its
// parentheses. 0 (or less): never kept.
// Only the outermost pair decides: what it holds, nested pairs included, is counted and kept or
// dropped as a whole. A pair is closed only by the closing form of its own opening form: `(`
// needs `)` and `（` needs `）`; a closing form with no open pair of its form is plain text,
// and one that closes an outer pair also ends the unclosed pairs inside it. An opening
// parenthesis that is never closed leaves the rest of the text as it is; a closing parenthesis
// without an opening one is kept.
std::u16string ApplyParenthesisRule(std::u16string_view text, int minimumLength);

}  // namespace ostrel::orvatone
