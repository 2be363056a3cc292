// The dialogs and strings of src/res/Velmora.rc, read from the script itself
// (embedded at build time) with the ids of resource.h: the one description
// the in-memory dialog is built from and Windows builds the real one from.
#pragma once

#include <string>
#include <vector>

namespace velmora::testkit {

// One control row of a dialog template: `CONTROL text, id, class, styles,
// x, y, cx, cy`, or `ICON ...` (class "Static", style SS_ICON).
struct ResourceControl {
    std::string text;  // unquoted; a macro's name when the text is not a literal
    bool literalText = true;
    int id = -1;
    std::string className;
    std::vector<std::string> styles;  // as written; "NOT WS_VISIBLE" is one entry

    bool has(const std::string& style) const;
    bool enabled() const { return !has("WS_DISABLED"); }
    bool visible() const { return !has("NOT WS_VISIBLE"); }
};

// The controls of dialog `id`, in template order; throws when there is none.
const std::vector<ResourceControl>& resourceDialog(int id);
// The STRINGTABLE entry `id`, "" when there is none.
std::string resourceString(int id);

}  // namespace velmora::testkit
