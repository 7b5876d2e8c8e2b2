#pragma once
// A chart sheet and the chart on it, built by ChartWizard.

#include <memory>
#include <optional>
#include <string>

#include "spreadsheet/model/chart_model.h"
#include "spreadsheet/model/sheet.h"

namespace tabulix::spreadsheet {

class ChartSheet final : public Sheet {
public:
    ChartSheet(Workbook& book, std::string name) : Sheet(book, std::move(name)) {}

    std::string_view typeName() const override { return "Chart"; }
    SheetType sheetType() const override;

    // Builds the chart from the settings merged over those of an earlier call (arguments
    // left missing keep what that call set). Raises automation::AutomationError naming the
    // argument that cannot be used; the chart is then left as it was.
    void chartWizard(const ChartWizardSettings& settings);
    // The merged arguments of the calls so far, and the chart they made (absent before the
    // first successful call).
    const std::optional<ChartWizardSettings>& chart() const { return settings_; }
    const std::optional<ChartModel>& model() const { return model_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::optional<ChartWizardSettings> settings_;
    std::optional<ChartModel> model_;
};

}  // namespace tabulix::spreadsheet
