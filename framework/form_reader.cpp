#include "framework/form_reader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "framework/class_registry.h"
#include "framework/form_notation.h"
#include "framework/printable.h"
#include "framework/property_list.h"
#include "framework/text_compare.h"

namespace tabulix::framework {

namespace {

using form_notation::ObjectNode;
using form_notation::PropertyNode;

struct PendingReference {
    Property property;
    std::string path;
    std::string target;
    int line;
};

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

class Loader {
public:
    Loader(TComponent& root, std::string file) : root_(root), file_(std::move(file)) {}

    // Reads the root's properties and everything nested in it.
    void Read(const ObjectNode& node) {
        created_.push_back(&root_);
        root_.BeginLoading();
        root_.SetName(node.name);
        readObject(root_, node, true);
    }

    void Finish() {
        for (const PendingReference& ref : references_) resolve(ref);
        for (TComponent* c : created_) c->EndLoading();
    }

    // Destroys the components this read created under a root that stays with the caller.
    void Discard() {
        for (auto it = topLevel_.rbegin(); it != topLevel_.rend(); ++it) root_.RemoveComponent(*it).reset();
        topLevel_.clear();
        if (root_.IsLoading()) root_.CancelLoading();
    }

private:
    [[noreturn]] void fail(int line, const std::string& reason) const { throw FormFileError(file_, line, reason); }

    PropertyList& propertiesOf(TPersistent& object) {
        auto it = lists_.find(&object);
        if (it == lists_.end()) it = lists_.emplace(&object, PropertyList::Of(object)).first;
        return it->second;
    }

    void readObject(TComponent& object, const ObjectNode& node, bool isRoot) {
        for (const PropertyNode& p : node.properties) setProperty(object, p);
        for (const ObjectNode& child : node.children) readChild(object, child, isRoot);
    }

    void readChild(TComponent& parent, const ObjectNode& node, bool underRoot) {
        const ClassRegistry& registry = ClassRegistry::Instance();
        if (!registry.IsRegistered(node.className))
            fail(node.line, "unknown class '" + printable(node.className) + "'");
        if (!node.name.empty() && parent.FindComponent(node.name))
            fail(node.line, "duplicate component name '" + printable(node.name) + "'");
        TComponent* child = nullptr;
        try {
            child = registry.Create(node.className, parent);
        } catch (const std::exception& e) {
            fail(node.line, "cannot create " + printable(node.className) + ": " + e.what());
        }
        if (child->Owner() != &parent) {
            if (!child->Owner()) delete child;
            fail(node.line,
                 "the factory of class '" + printable(node.className) + "' did not give the object its owner");
        }
        created_.push_back(child);
        if (underRoot) topLevel_.push_back(child);
        child->BeginLoading();
        child->SetName(node.name);
        try {
            parent.AdoptChild(child);
        } catch (const std::exception& e) {
            fail(node.line, printable(parent.ClassName()) + " '" + printable(parent.Name()) + "' does not accept " +
                                printable(node.className) + " '" + printable(node.name) + "': " + e.what());
        }
        readObject(*child, node, false);
    }

    void setProperty(TComponent& component, const PropertyNode& node) {
        const std::vector<std::string> parts = splitPath(node.path);
        TPersistent* object = &component;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const bool last = i + 1 == parts.size();
            const Property* property = propertiesOf(*object).Find(parts[i]);
            if (!property)
                fail(node.line, "unknown property '" + printable(parts[i]) + "' of " + printable(object->ClassName()));
            switch (property->Kind()) {
            case PropertyKind::Object:
                if (last)
                    fail(node.line, "'" + printable(node.path) + "' is an object: give its members (" + printable(node.path) +
                                    ".Member = ...)");
                object = property->Object();
                if (!object)
                    fail(node.line, "'" + property->Name() + "' of " + printable(component.Name()) + " holds no object");
                continue;
            case PropertyKind::StringList:
                if (i + 2 != parts.size() || !sameText(parts[i + 1], "Strings"))
                    fail(node.line, "expected '" + property->Name() + ".Strings = ( ... )'");
                assign(*property, node);
                return;
            case PropertyKind::Reference:
                if (!last) break;
                if (node.value.type != FormValue::Type::Identifier)
                    fail(node.line,
                         printable(node.path) + ": expected a component name, found " + DescribeFormValue(node.value));
                references_.push_back({*property, node.path, node.value.text, node.line});
                return;
            default:
                if (!last) break;
                assign(*property, node);
                return;
            }
            fail(node.line, "'" + property->Name() + "' of " + printable(object->ClassName()) + " has no member '" +
                                printable(parts[i + 1]) + "'");
        }
    }

    void assign(const Property& property, const PropertyNode& node) {
        try {
            property.Set(node.value);
        } catch (const std::exception& e) {
            fail(node.line, printable(node.path) + ": " + e.what());
        }
    }

    TComponent* findComponent(std::string name) const {
        if (auto dot = name.find('.'); dot != std::string::npos) {
            if (!sameText(name.substr(0, dot), root_.Name())) return nullptr;
            name = name.substr(dot + 1);
        }
        if (TComponent* c = root_.FindComponent(name)) return c;
        if (!name.empty() && sameText(root_.Name(), name)) return &root_;
        for (TComponent* c : created_)
            if (!name.empty() && sameText(c->Name(), name)) return c;
        return nullptr;
    }

    void resolve(const PendingReference& ref) {
        TComponent* target = findComponent(ref.target);
        if (!target) fail(ref.line, printable(ref.path) + ": unknown component '" + printable(ref.target) + "'");
        try {
            ref.property.SetReferenced(target);
        } catch (const std::exception& e) {
            fail(ref.line, printable(ref.path) + ": " + e.what());
        }
    }

    TComponent& root_;
    std::string file_;
    std::vector<TComponent*> created_;   // in creation order, the root first
    std::vector<TComponent*> topLevel_;  // created directly under the root
    std::vector<PendingReference> references_;
    std::map<TPersistent*, PropertyList> lists_;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FormFileError(path.string(), 0, std::string("cannot open the file: ") + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw FormFileError(path.string(), 0, "cannot read the file");
    return text.str();
}

}  // namespace

std::unique_ptr<TComponent> ReadForm(std::string_view text, const std::string& fileName, const FormReadOptions& options) {
    const ObjectNode node = form_notation::Parse(text, fileName);
    const ClassRegistry& registry = ClassRegistry::Instance();
    if (!registry.IsRegistered(node.className))
        throw FormFileError(fileName, node.line, "unknown class '" + printable(node.className) + "'");
    std::unique_ptr<TComponent> root;
    try {
        root = registry.CreateRoot(node.className);
    } catch (const std::exception& e) {
        throw FormFileError(fileName, node.line, "cannot create " + printable(node.className) + ": " + e.what());
    }
    if (options.designing) root->SetDesigning(true);
    Loader loader(*root, fileName);
    loader.Read(node);
    loader.Finish();
    return root;
}

std::unique_ptr<TComponent> ReadFormFile(const std::filesystem::path& path, const FormReadOptions& options) {
    return ReadForm(readFile(path), path.string(), options);
}

void ReadFormInto(TComponent& root, std::string_view text, const std::string& fileName, const FormReadOptions& options) {
    const ObjectNode node = form_notation::Parse(text, fileName);
    if (!sameText(node.className, root.ClassName()))
        throw FormFileError(fileName, node.line,
                            "the form is a " + printable(node.className) + ", expected a " + root.ClassName());
    if (options.designing) root.SetDesigning(true);
    Loader loader(root, fileName);
    try {
        loader.Read(node);
        loader.Finish();
    } catch (...) {
        loader.Discard();
        throw;
    }
}

void ReadFormFileInto(TComponent& root, const std::filesystem::path& path, const FormReadOptions& options) {
    ReadFormInto(root, readFile(path), path.string(), options);
}

std::string RootClassOf(std::string_view text) {
    static const std::regex header(R"(^(?:\xEF\xBB\xBF)?\s*(?:object|inherited|inline)\s+(?:[A-Za-z_]\w*\s*:\s*)?([A-Za-z_]\w*))",
                                   std::regex::icase);
    const std::string start(text.substr(0, 4096));
    std::smatch match;
    if (!std::regex_search(start, match, header, std::regex_constants::match_continuous)) return {};
    return match[1].str();
}

}  // namespace tabulix::framework
