#include "spreadsheet/model/chart_sheet.h"

#include "automation/dispids.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/range.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::Variant;
namespace dispid = automation::dispid;

SheetType ChartSheet::sheetType() const { return SheetType::Chart; }

void ChartSheet::chartWizard(const ChartWizardSettings& settings) {
    const Workbook& book = workbook();  // refuses once the workbook is closed
    ChartWizardSettings merged = settings_.value_or(ChartWizardSettings{});
    if (settings.source) {
        merged.source = settings.source;
        merged.sourceSheet = settings.sourceSheet;
    }
    auto keep = [](auto& mine, const auto& given) {
        if (given) mine = given;
    };
    keep(merged.gallery, settings.gallery);
    keep(merged.format, settings.format);
    keep(merged.plotBy, settings.plotBy);
    keep(merged.categoryLabels, settings.categoryLabels);
    keep(merged.seriesLabels, settings.seriesLabels);
    keep(merged.hasLegend, settings.hasLegend);
    keep(merged.title, settings.title);
    keep(merged.categoryTitle, settings.categoryTitle);
    keep(merged.valueTitle, settings.valueTitle);
    keep(merged.extraTitle, settings.extraTitle);
    ChartModel model = buildChartModel(merged, book);
    settings_ = std::move(merged);
    model_ = std::move(model);
    if (Application* app = application()) app->notifyObservers([&](ModelObserver& o) { o.chartChanged(*this); });
}

std::span<const ModelObject::Member> ChartSheet::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name},
        {"Activate", dispid::Activate},
        {"ChartWizard", dispid::ChartWizard},
    };
    return kMembers;
}

Variant ChartSheet::invokeMember(const Call& call) {
    if (!isAttached()) call.fail("the chart sheet \"" + name() + "\" belongs to a closed workbook");
    if (call.id() != dispid::ChartWizard) return invokeSheetMember(call);
    if (call.isPut()) call.wrongKind();
    call.expectCount(0, 11);
    ChartWizardSettings s;
    if (call.given(0)) {
        const Variant& source = call.arg(0);
        const Range* range = source.type() == automation::VariantType::Object
                                 ? dynamic_cast<const Range*>(source.toObject().get())
                                 : nullptr;
        if (!range) call.fail("the source (argument 1) must be a Range, not " + source.describe());
        // A range of a closed workbook has no application; the chart's own checks name that case.
        if (range->application() && range->application() != application())
            call.fail("the source (argument 1) must be a range of this application's worksheets");
        s.source = range->rect();
        s.sourceSheet = range->worksheetPtr();
    }
    auto integer = [&](std::size_t i, std::optional<std::int32_t>& out) {
        if (call.given(i)) out = call.int32(i);
    };
    auto text = [&](std::size_t i, std::optional<std::string>& out) {
        if (call.given(i)) out = call.text(i);
    };
    integer(1, s.gallery);
    integer(2, s.format);
    integer(3, s.plotBy);
    integer(4, s.categoryLabels);
    integer(5, s.seriesLabels);
    if (call.given(6)) s.hasLegend = call.boolean(6);
    text(7, s.title);
    text(8, s.categoryTitle);
    text(9, s.valueTitle);
    text(10, s.extraTitle);
    try {
        chartWizard(s);
    } catch (const AutomationError& e) {
        call.fail(e.what(), e.scode());
    }
    return {};
}

}  // namespace tabulix::spreadsheet
