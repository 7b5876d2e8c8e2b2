#pragma once
// A chart sheet. The chart itself is described by the arguments of its last ChartWizard call.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "spreadsheet/cell_address.h"
#include "spreadsheet/sheet.h"

namespace tabulix::spreadsheet {

class Worksheet;

// The arguments of ChartWizard, as given (absent when not passed).
struct ChartWizardSettings {
    std::weak_ptr<Worksheet> sourceSheet;  // the sheet of the source range
    std::optional<CellRect> source;
    std::optional<std::int32_t> gallery;
    std::optional<std::int32_t> format;
    std::optional<std::int32_t> plotBy;
    std::optional<std::int32_t> categoryLabels;
    std::optional<std::int32_t> seriesLabels;
    std::optional<bool> hasLegend;
    std::optional<std::string> title;
    std::optional<std::string> categoryTitle;
    std::optional<std::string> valueTitle;
    std::optional<std::string> extraTitle;
};

class ChartSheet final : public Sheet {
public:
    ChartSheet(Workbook& book, std::string name) : Sheet(book, std::move(name)) {}

    std::string_view typeName() const override { return "Chart"; }
    SheetType sheetType() const override;

    // Arguments left missing keep what an earlier call set.
    void chartWizard(const ChartWizardSettings& settings);
    const std::optional<ChartWizardSettings>& chart() const { return chart_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::optional<ChartWizardSettings> chart_;
};

}  // namespace tabulix::spreadsheet
