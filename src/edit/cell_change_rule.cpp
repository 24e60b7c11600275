#include "edit/cell_change_rule.h"

#include <algorithm>

#include "model/material.h"

namespace cubrik {

CellChangeRule cellChangeRuleOf(const VoxelModel& model, const EditState& edit, const VisibleSlab& shown) {
    CellChangeRule rule;
    rule.shown = shown;
    rule.codeMayChange[kEmpty] = true;
    for (int code = kFirstCodeA; code <= kLastCode; ++code) {
        const auto c = static_cast<std::uint8_t>(code);
        const Material material = materialOfCode(c);
        rule.codeMayChange[code] = isDisplayed(edit, c) && locksOf(model, material)[code - firstCodeOf(material)] == 0;
    }
    return rule;
}

bool CellChangeRule::allowsEveryCode() const { return std::ranges::all_of(codeMayChange, [](bool may) { return may; }); }

CellChangeRule anyCodeWithin(const VisibleSlab& shown) {
    CellChangeRule rule;
    rule.codeMayChange.fill(true);
    rule.shown = shown;
    return rule;
}

}  // namespace cubrik
