#include "spreadsheet/formula/function_table.h"

#include <vector>

#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

namespace {

// Built once from the constant groups; never changes afterwards.
const std::vector<FunctionInfo>& table() {
    static const std::vector<FunctionInfo> all = [] {
        std::vector<FunctionInfo> functions;
        for (auto group : {statisticalFunctions(), mathFunctions(), logicalFunctions(), textFunctions()})
            functions.insert(functions.end(), group.begin(), group.end());
        return functions;
    }();
    return all;
}

}  // namespace

std::optional<std::uint32_t> findFunction(std::string_view name) {
    const auto& functions = table();
    for (std::size_t i = 0; i < functions.size(); ++i)
        if (equalsIgnoringCase(functions[i].name, name)) return static_cast<std::uint32_t>(i);
    return std::nullopt;
}

const FunctionInfo& functionInfo(std::uint32_t id) { return table()[id]; }

}  // namespace tabulix::spreadsheet::formula
