#include "cli/source_checks.h"

#include "data/csv_table.h"
#include "data/data_set.h"
#include "data/server_query.h"
#include "data/table.h"
#include "framework/component.h"
#include "framework/printable.h"

namespace tabulix::cli {

namespace fs = std::filesystem;

namespace {

template <typename Visit>
void forEachOpenDataSet(const framework::TComponent& owner, Visit visit) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        const framework::TComponent* child = owner.Components(i);
        if (const auto* dataSet = dynamic_cast<const data::TDataSet*>(child); dataSet && dataSet->Active())
            visit(*dataSet);
        forEachOpenDataSet(*child, visit);
    }
}

}  // namespace

std::vector<fs::path> InputFiles(const CommandLine& line, const framework::TComponent& root) {
    std::vector<fs::path> files;
    if (line.source == SourceKind::FormFile) files.push_back(line.input);
    forEachOpenDataSet(root, [&](const data::TDataSet& dataSet) {
        for (const fs::path& file : dataSet.SourceFiles()) files.push_back(file);
    });
    return files;
}

void RefuseOutputOverInput(const fs::path& output, const std::vector<fs::path>& inputs) {
    std::error_code error;
    if (!fs::exists(output, error)) return;
    for (const fs::path& input : inputs)
        if (fs::equivalent(output, input, error))
            throw UsageError("the output " + framework::quotedPath(output) + " is the same file as the input " +
                             framework::quotedPath(input) + ": it would be replaced by the workbook");
}

int ReportDataSets(const framework::TComponent& root, std::ostream& warnings, std::ostream* trace) {
    int count = 0;
    forEachOpenDataSet(root, [&](const data::TDataSet& dataSet) {
        for (const std::string& warning : dataSet.Warnings()) {
            warnings << "tabulix: warning: " << framework::printable(warning, framework::kPrintableMessageLength)
                     << "\n";
            ++count;
        }
        if (const auto* table = dynamic_cast<const data::TTable*>(&dataSet); table && trace)
            *trace << "Table " << framework::quotedPath(table->FileName()) << ": code page " << table->CodePage()
                   << " (" << table->CodePageOrigin() << ")\n";
        if (const auto* csv = dynamic_cast<const data::TCsvTable*>(&dataSet); csv && trace)
            *trace << "CSV file " << framework::quotedPath(csv->SourceFiles().front()) << ": code page "
                   << csv->CodePage() << " (" << csv->CodePageOrigin() << "), delimiter "
                   << (csv->Delimiter() == '\t' ? std::string("TAB") : framework::printable(std::string(1, csv->Delimiter()))) << " ("
                   << csv->DelimiterOrigin() << ")\n";
        if (const auto* query = dynamic_cast<const data::TServerQuery*>(&dataSet); query && trace)
            *trace << query->ServerDescription() << ": connected, reading in one transaction\n";
    });
    return count;
}

}  // namespace tabulix::cli
