#pragma once
// A workbook's window, as automation sees it (Workbook.Windows(1)): the panes over the
// workbook's active worksheet, its scroll position, split and frozen split. The worksheet keeps
// them (Worksheet::panes), so each sheet has its own, as in the application.

#include <memory>

#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Workbook;

// The Windows collection of a workbook: the one window it is shown in.
class WindowsCollection final : public ModelObject {
public:
    explicit WindowsCollection(std::shared_ptr<Workbook> book) : book_(std::move(book)) {}
    std::string_view typeName() const override { return "Windows"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
};

class Window final : public ModelObject {
public:
    explicit Window(std::shared_ptr<Workbook> book) : book_(std::move(book)) {}
    std::string_view typeName() const override { return "Window"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
};

}  // namespace tabulix::spreadsheet
