#pragma once
// The command's options for the finish of a report (frozen headings, filter, printing,
// document properties, defined names). Each one sets a property of the TTabulix it runs, over
// what a form file says; --finished turns on the usual set at once.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tabulix::component {
class TTabulix;
}

namespace tabulix::cli {

struct FinishOptions {
    bool finished = false;
    std::optional<bool> freeze, autofilter, printTitles, headerFooter, names;
    std::optional<std::int32_t> freezeColumns, fitWidth;
    std::optional<std::string> orientation;  // "auto", "portrait" or "landscape"
    std::optional<double> marginLeft, marginRight, marginTop, marginBottom;  // centimetres
    std::optional<std::string> docTitle, subject, author, company;
};

// Takes the option `name` when it is one of these: `value` gives its value (for the options
// that have one) and `noValue` refuses one given inline (for the switches). Returns false for
// any other option. Raises UsageError for a bad value or a repeated option.
bool ParseFinishOption(FinishOptions& options, const std::string& name, const std::function<std::string()>& value,
                       const std::function<void()>& noValue);

// Sets the component's properties from the options; --finished first, so the single options
// given with it win. The document title defaults to the report's title.
void ApplyFinishOptions(const FinishOptions& options, component::TTabulix& tabulix);

// The lines of the --help text that describe these options.
std::string FinishUsageText();

}  // namespace tabulix::cli
