#pragma once
// The PageSetup of a worksheet, as automation sees it: margins in points, orientation, paper,
// zoom or fitting to pages, the rows repeated on every page, and the header and footer texts.
// Each value is checked as it is set; a refused one leaves the page set-up as it was.

#include <memory>

#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Worksheet;

class PageSetup final : public ModelObject {
public:
    explicit PageSetup(std::shared_ptr<Worksheet> sheet) : sheet_(std::move(sheet)) {}
    std::string_view typeName() const override { return "PageSetup"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
};

}  // namespace tabulix::spreadsheet
