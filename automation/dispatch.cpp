#include "automation/dispatch.h"

#include "automation/call_journal.h"
#include "automation/thread_owner.h"

namespace tabulix::automation {

namespace {
std::string memberName(const Dispatch& object, DispId id) {
    std::string member(object.nameOfId(id));
    return member.empty() ? "#" + std::to_string(id) : member;
}
}  // namespace

Variant Dispatch::invoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid) {
    if (const ThreadOwner* owner = threadOwner(); owner && !owner->isCurrent())
        owner->refuse(std::string(typeName()) + "." + memberName(*this, id), "its application");
    if (CallJournal* log = journal()) {
        std::string member = memberName(*this, id);
        log->record(JournalEntry{std::string(typeName()), std::move(member), id, kind,
                                 std::vector<Variant>(args.begin(), args.end()), lcid});
    }
    return doInvoke(id, kind, args, lcid);
}

Variant Dispatch::invoke(std::string_view member, InvokeKind kind, std::span<const Variant> args, Lcid lcid) {
    return invoke(idOfName(member), kind, args, lcid);
}

Variant Dispatch::get(DispId id, std::initializer_list<Variant> args, Lcid lcid) {
    return invoke(id, InvokeKind::PropertyGet, std::span<const Variant>(args.begin(), args.size()), lcid);
}

void Dispatch::put(DispId id, const Variant& value, Lcid lcid) {
    invoke(id, InvokeKind::PropertyPut, std::span<const Variant>(&value, 1), lcid);
}

Variant Dispatch::call(DispId id, std::initializer_list<Variant> args, Lcid lcid) {
    return invoke(id, InvokeKind::Method, std::span<const Variant>(args.begin(), args.size()), lcid);
}

Variant Dispatch::get(std::string_view member, std::initializer_list<Variant> args, Lcid lcid) {
    return get(idOfName(member), args, lcid);
}

void Dispatch::put(std::string_view member, const Variant& value, Lcid lcid) { put(idOfName(member), value, lcid); }

Variant Dispatch::call(std::string_view member, std::initializer_list<Variant> args, Lcid lcid) {
    return call(idOfName(member), args, lcid);
}

}  // namespace tabulix::automation
