#include "framework/form_writer.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ostream>
#include <sstream>
#include <system_error>

#include "framework/atomic_file.h"
#include "framework/class_registry.h"
#include "framework/form_notation.h"
#include "framework/printable.h"
#include "framework/property_list.h"

namespace tabulix::framework {

namespace {

// Sub-objects deeper than this are taken for a loop of objects referring to each other.
constexpr int kMaxObjectDepth = 16;

std::string formatFloat(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string text(buffer, end);
    // Keep it a float for the reader: 2 is written 2.0.
    if (text.find_first_of(".eE") == std::string::npos) text += ".0";
    return text;
}

class Writer {
public:
    Writer(std::ostream& out, TComponent& root) : out_(out), root_(root) {}

    void Object(TComponent& component, int depth) {
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        if (!component.Name().empty() && !form_notation::IsIdentifier(component.Name()))
            throw FormWriteError("cannot store the component named '" + printable(component.Name()) + "': not an identifier");
        if (!form_notation::IsIdentifier(component.ClassName()))
            throw FormWriteError("cannot store a component of class '" + component.ClassName() + "'");
        out_ << indent << "object ";
        if (!component.Name().empty()) out_ << component.Name() << ": ";
        out_ << component.ClassName() << '\n';
        Properties(component, component, "", depth + 1, 0);
        for (TComponent* child : component.GetChildren())
            if (child && ClassRegistry::Instance().IsRegistered(child->ClassName())) Object(*child, depth + 1);
        out_ << indent << "end\n";
    }

private:
    [[noreturn]] static void fail(const TComponent& component, const std::string& path, const std::string& reason) {
        std::string where = component.Name().empty() ? component.ClassName() : component.Name();
        throw FormWriteError("cannot store " + where + "." + path + ": " + reason);
    }

    void Properties(TComponent& component, TPersistent& object, const std::string& prefix, int depth, int nesting) {
        if (nesting > kMaxObjectDepth) fail(component, prefix, "sub-objects nest too deeply");
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        PropertyList list = PropertyList::Of(object);
        for (const Property& p : list.Items()) {
            if (!p.IsStored()) continue;
            const std::string path = prefix + p.Name();
            try {
                switch (p.Kind()) {
                case PropertyKind::Object: Properties(component, *p.Object(), path + ".", depth, nesting + 1); break;
                case PropertyKind::StringList: List(indent, path, p.Get().items); break;
                case PropertyKind::Reference: out_ << indent << path << " = " << referenceName(*p.Referenced()) << '\n'; break;
                default: Scalar(indent, path, p.Get()); break;
                }
            } catch (const FormWriteError&) {
                throw;
            } catch (const std::exception& e) {
                fail(component, path, e.what());
            }
        }
    }

    std::string referenceName(const TComponent& target) const {
        if (target.Name().empty()) throw std::invalid_argument("it refers to a component without a name");
        for (const TComponent* c = &target; c; c = c->Owner())
            if (c == &root_) return target.Name();
        throw std::invalid_argument("it refers to '" + target.Name() + "', which is not part of the form");
    }

    void Scalar(const std::string& indent, const std::string& path, const FormValue& v) {
        out_ << indent << path << " =";
        switch (v.type) {
        case FormValue::Type::Integer: out_ << ' ' << v.integer << '\n'; return;
        case FormValue::Type::Float: out_ << ' ' << formatFloat(v.number) << '\n'; return;
        case FormValue::Type::Identifier: out_ << ' ' << v.text << '\n'; return;
        case FormValue::Type::Set: {
            out_ << " [";
            for (std::size_t i = 0; i < v.items.size(); ++i) out_ << (i ? ", " : "") << v.items[i];
            out_ << "]\n";
            return;
        }
        case FormValue::Type::String: {
            std::vector<std::string> pieces = form_notation::QuoteString(v.text);
            if (pieces.size() == 1) {
                out_ << ' ' << pieces[0] << '\n';
            } else {
                out_ << '\n';
                Pieces(indent + "  ", pieces);
                out_ << '\n';
            }
            return;
        }
        case FormValue::Type::List: break;
        }
        List(indent, path, v.items);
    }

    void List(const std::string& indent, const std::string& path, const std::vector<std::string>& lines) {
        out_ << indent << path << ".Strings = (";
        for (const std::string& line : lines) {
            out_ << '\n';
            Pieces(indent + "  ", form_notation::QuoteString(line));
        }
        out_ << ")\n";
    }

    // One string split over lines joined with +; no line break after the last piece.
    void Pieces(const std::string& indent, const std::vector<std::string>& pieces) {
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            out_ << indent << pieces[i];
            if (i + 1 < pieces.size()) out_ << " +\n";
        }
    }

    std::ostream& out_;
    TComponent& root_;
};

}  // namespace

void WriteForm(std::ostream& out, TComponent& root) { Writer(out, root).Object(root, 0); }

std::string WriteForm(TComponent& root) {
    std::ostringstream out;
    WriteForm(out, root);
    return out.str();
}

void WriteFormFile(const std::filesystem::path& path, TComponent& root) {
    const std::string text = WriteForm(root);
    try {
        AtomicFile file(path);
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(file.Descriptor(), text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw AtomicFileError(std::string("it cannot be written: ") + std::strerror(errno));
            done += static_cast<std::size_t>(n);
        }
        file.Commit();
    } catch (const AtomicFileError& e) {
        throw FormWriteError("cannot save the form file " + quotedPath(path) + ": " + e.what());
    }
}

}  // namespace tabulix::framework
