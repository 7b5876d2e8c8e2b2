#pragma once
// The embedded spreadsheet application: its workbooks, which one is active, its window state,
// the events it raises (a sheet or a workbook was activated) and an optional call journal.
//
// Thread rule: an Application belongs to the thread that created it (threadOwner()), and so does
// everything it holds; automation calls from another thread are refused (model_object.h), and its
// events, observers and journal are called on that thread.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "automation/call_journal.h"
#include "automation/events.h"
#include "spreadsheet/model/model_object.h"
#include "spreadsheet/model/model_observer.h"
#include "spreadsheet/model/workbook_writer.h"

namespace tabulix::spreadsheet {

class Workbook;
class Sheet;
class TextMeasurer;

class Application final : public ModelObject {
public:
    // Numbers are displayed (and columns fitted) with the conventions of displayLocale; workbooks
    // are saved through `writer` (without one, saving is refused).
    static std::shared_ptr<Application> create(automation::Lcid displayLocale = automation::kLcidSpanishSpain,
                                               WorkbookWriter writer = nullptr);
    ~Application() override;

    std::string_view typeName() const override { return "Application"; }
    Application* application() const override { return const_cast<Application*>(this); }
    automation::EventSource* events() override { return &events_; }
    const automation::ThreadOwner* threadOwner() const override { return owner_.get(); }
    // The thread that created the application, which its workbooks share.
    const std::shared_ptr<const automation::ThreadOwner>& owner() const { return owner_; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // -4137 maximized, -4140 minimized, -4143 normal; anything else raises AutomationError.
    std::int32_t windowState() const { return windowState_; }
    void setWindowState(std::int32_t state);

    // Open workbooks in the order they were opened.
    const std::vector<std::shared_ptr<Workbook>>& workbooks() const { return workbooks_; }
    // A new workbook of one worksheet ("Libro<n>" with "Hoja1"), made the active one: raises
    // WorkbookActivate.
    std::shared_ptr<Workbook> addWorkbook();
    std::shared_ptr<Workbook> activeWorkbook() const;
    // The workbook at 1-based position, or by name ignoring letter case; raises AutomationError
    // when there is none.
    std::shared_ptr<Workbook> workbookAt(std::int32_t position) const;
    std::shared_ptr<Workbook> workbookNamed(std::string_view name) const;

    automation::Lcid displayLocale() const { return displayLocale_; }
    // What SaveAs writes workbooks with; nullptr when this application cannot save.
    WorkbookWriter workbookWriter() const { return writer_; }
    // Font metrics for fitting columns; created on first use.
    TextMeasurer& textMeasurer();

    // The journal that records every automation call made on this application's objects.
    automation::CallJournal* callJournal() const { return journal_; }
    // Records into a journal owned by the caller (nullptr stops recording).
    void setCallJournal(automation::CallJournal* journal) { journal_ = journal; }
    // Records into a journal of the application's own and returns it.
    automation::CallJournal& enableCallJournal();
    void disableCallJournal() { journal_ = nullptr; }

    // Observers are borrowed: each must be removed before it is destroyed. Adding one twice
    // adds it once.
    void addObserver(ModelObserver& observer);
    void removeObserver(ModelObserver& observer);
    // Calls fn(observer) for every observer added when the call starts and still present when
    // its turn comes.
    template <class Fn>
    void notifyObservers(Fn&& fn) {
        if (observers_.empty()) return;
        const std::vector<ModelObserver*> current = observers_;
        for (ModelObserver* observer : current)
            if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) fn(*observer);
    }

private:
    friend class Workbook;
    Application(automation::Lcid displayLocale, WorkbookWriter writer);

    // Makes `book` the active workbook, raising WorkbookActivate when it was not.
    void activate(Workbook& book);
    // Takes a closing workbook out of the application; activates the most recently active
    // remaining workbook (raising WorkbookActivate) when the closing one was active.
    void remove(Workbook& book);
    void raiseSheetActivate(Sheet& sheet);

    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    const std::shared_ptr<const automation::ThreadOwner> owner_;
    automation::EventSource events_;
    std::vector<std::shared_ptr<Workbook>> workbooks_;
    std::vector<Workbook*> recent_;  // most recently active first
    bool visible_ = false;
    std::int32_t windowState_ = -4143;
    std::uint32_t workbookCounter_ = 0;
    automation::Lcid displayLocale_;
    WorkbookWriter writer_;
    std::unique_ptr<TextMeasurer> measurer_;
    std::unique_ptr<automation::CallJournal> ownJournal_;
    automation::CallJournal* journal_ = nullptr;
    std::vector<ModelObserver*> observers_;
};

// The Workbooks collection of an application, as automation sees it.
class WorkbooksCollection final : public ModelObject {
public:
    explicit WorkbooksCollection(std::shared_ptr<Application> app) : app_(std::move(app)) {}
    std::string_view typeName() const override { return "Workbooks"; }
    Application* application() const override { return app_.get(); }
    const automation::ThreadOwner* threadOwner() const override { return app_->threadOwner(); }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Application> app_;
};

}  // namespace tabulix::spreadsheet
