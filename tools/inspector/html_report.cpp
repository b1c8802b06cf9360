#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "error_text.hpp"
#include "graphviz.hpp"
#include "html_assets.hpp"
#include "html_text.hpp"
#include "reports.hpp"
#include "utf8_repair.hpp"

namespace orrery::inspector {
namespace {

namespace fs = std::filesystem;

// Past this many classes the diagram is no longer legible, and Graphviz's layout takes
// minutes: the class pages list superclasses and subclasses all the same.
constexpr std::size_t kDiagramLimit = 200;

// Long names make long file names; a file system takes 255 bytes.
constexpr std::size_t kMaxFileStem = 180;

struct ClassPage {
    const ClassReport* cls;
    std::string space;  ///< the namespace that holds it; empty for the class registry
    std::string file;  ///< under classes/
};

struct SpaceEntry {
    const NamespaceReport* space;
    std::string anchor;
};

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Graphviz's SVG made fit for a page: no XML prologue, no comments (they hold the
// names again), sized by its viewBox so that it shrinks to a phone's width, and links
// with SVG 2's href instead of XLink's.
std::string inlineSvg(const std::string& svg) {
    const auto start = svg.find("<svg");
    if (start == std::string::npos) return "";
    std::string out;
    for (std::size_t i = start; i < svg.size();) {
        if (svg.compare(i, 4, "<!--") == 0) {
            const auto end = svg.find("-->", i + 4);
            i = end == std::string::npos ? svg.size() : end + 3;
        } else {
            out += svg[i++];
        }
    }
    const auto tagEnd = out.find('>');
    std::string tag = out.substr(0, tagEnd);
    for (const char* attribute : {" width=\"", " height=\""}) {
        const auto at = tag.find(attribute);
        if (at != std::string::npos) tag.erase(at, tag.find('"', at + std::string_view(attribute).size()) + 1 - at);
    }
    out.replace(0, tagEnd, tag);
    for (std::size_t at = 0; (at = out.find(" xlink:title=\"", at)) != std::string::npos;)
        out.erase(at, out.find('"', at + 14) + 1 - at);
    for (std::size_t at = 0; (at = out.find(" xlink:href=\"", at)) != std::string::npos;) out.replace(at, 11, " href");
    return out;
}

class HtmlWriter {
public:
    HtmlWriter(const Inspection& inspection, fs::path directory, std::string dot)
        : inspection_(inspection), directory_(std::move(directory)), dot_(std::move(dot)) {
        collect();
    }

    void write() {
        fs::create_directories(directory_ / "classes");
        writeFile(directory_ / "style.css", kReferenceStyle);
        writeFile(directory_ / "script.js", kReferenceScript);
        writeFile(directory_ / "search.js", searchData());
        writeFile(directory_ / "index.html", indexPage());
        for (const auto& page : pages_) writeFile(directory_ / "classes" / page.file, classPage(page));
    }

private:
    // Every class with the namespace that holds it, and every namespace, in the order of
    // the tree; by a list rather than recursion, so that no report is too deep for it.
    void collect() {
        std::set<std::string> files;
        auto add = [&](const ClassReport& cls, const std::string& space) {
            std::string stem = slug(cls.id).substr(0, kMaxFileStem);
            std::string file = stem + ".html";
            for (int n = 2; !files.insert(file).second; ++n) file = stem + "-" + std::to_string(n) + ".html";
            pages_.push_back({&cls, space, file});
            pageOf_.emplace(cls.id, pages_.size() - 1);  // a second class of that id keeps the first's links
            for (const auto& super : cls.superclasses) subclasses_[super].push_back(cls.id);
        };
        std::vector<std::pair<const NamespaceReport*, std::size_t>> pending;
        for (std::size_t i = inspection_.namespaces.size(); i-- > 0;)
            pending.emplace_back(&inspection_.namespaces[i], 0);
        std::set<std::string> anchors;
        while (!pending.empty()) {
            const auto [space, depth] = pending.back();
            pending.pop_back();
            std::string anchor = "ns-" + slug(space->path);
            for (int n = 2; !anchors.insert(anchor).second; ++n)
                anchor = "ns-" + slug(space->path) + "-" + std::to_string(n);
            spaces_.push_back({space, anchor});
            spaceAnchors_.emplace(space->path, anchor);
            for (const auto& cls : space->classes) add(cls, space->path);
            // The walk nests no deeper; the bound keeps the output finite whatever comes in.
            if (depth < maxDepth)
                for (std::size_t i = space->namespaces.size(); i-- > 0;)
                    pending.emplace_back(&space->namespaces[i], depth + 1);
        }
        for (const auto& cls : inspection_.classes) add(cls, "");
    }

    // The page of a class, relative to a page in `from` ("" for classes/, "classes/" for
    // the index); empty for a class the plugins did not publish.
    std::string href(const std::string& id, const std::string& from) const {
        const auto page = pageOf_.find(id);
        return page == pageOf_.end() ? "" : from + pages_[page->second].file;
    }

    void classLink(std::string& out, const std::string& id, const std::string& from, const std::string& anchor = "") {
        const std::string target = href(id, from);
        if (target.empty()) {
            appendHtml(out, id);
            return;
        }
        out += "<a href=\"" + target;
        if (!anchor.empty()) out += "#" + anchor;
        out += "\">";
        appendHtml(out, id);
        out += "</a>";
    }

    // "geo.Polygon scalar" with the class linked.
    void typeText(std::string& out, const std::string& type, const std::string& from) {
        std::string base = type, shape;
        for (const char* suffix : {" scalar", " vector"})
            if (type.size() > 7 && type.ends_with(suffix)) {
                base = type.substr(0, type.size() - 7);
                shape = suffix;
            }
        out += "<span class=\"type\">";
        classLink(out, base, from);
        out += shape;
        out += "</span>";
    }

    void arguments(std::string& out, const std::vector<Argument>& list, bool more, const std::string& from) {
        out += '(';
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i) out += ", ";
            typeText(out, list[i].type, from);
            out += ' ';
            appendHtml(out, list[i].name);
        }
        if (more) out += list.empty() ? "&hellip;" : ", &hellip;";
        out += ')';
    }

    // An id for a member on the current page: its kind and slug, made unique when a list
    // holds a name twice.
    std::string memberId(const char* kind, const std::string& name) {
        const std::string base = std::string(kind) + "-" + slug(name);
        std::string id = base;
        for (int n = 2; !ids_.insert(id).second; ++n) id = base + "-" + std::to_string(n);
        return id;
    }

    static void badge(std::string& out, std::string_view text) {
        out += "<span class=\"badge\">";
        appendHtml(out, text);
        out += "</span>";
    }

    static void differences(std::string& out, const std::vector<Difference>& list) {
        for (const auto& difference : list) {
            out += "<code class=\"badge\">";
            appendHtml(out, difference.query + "=" + difference.value);
            out += "</code>";
        }
    }

    void description(std::string& out, const std::string& text) {
        if (text.empty()) return;
        out += "<p class=\"doc\">";
        appendHtml(out, text);
        out += "</p>\n";
    }

    void inherited(std::string& out, const std::string& owner, const std::string& id, const std::string& from) {
        if (owner.empty()) return;
        out += "<p class=\"from\">Inherited from ";
        classLink(out, owner, from, id);
        out += "</p>\n";
    }

    void callable(std::string& out, const Callable& callable, const char* kind, const std::string& from,
                  const std::string& qualifier = "") {
        const std::string id = memberId(kind, qualifier + callable.name);
        out += "<article class=\"member\" id=\"" + id + "\">\n<h3><a class=\"name\" href=\"#" + id + "\">";
        appendHtml(out, callable.name);
        out += "</a><span class=\"sig\">";
        if (callable.hasSignature) {
            arguments(out, callable.inputs, callable.varargin, from);
            if (!callable.outputs.empty() || callable.varargout) {
                out += " &rarr; ";
                arguments(out, callable.outputs, callable.varargout, from);
            }
        } else {
            out += " (no signature)";
        }
        out += "</span></h3>\n";
        if ((!callable.access.empty() && callable.access != "public") || callable.isStatic || callable.isAbstract ||
            !callable.attributes.empty()) {
            out += "<p class=\"badges\">";
            if (!callable.access.empty() && callable.access != "public") badge(out, "access " + callable.access);
            if (callable.isStatic) badge(out, "static");
            if (callable.isAbstract) badge(out, "abstract");
            differences(out, callable.attributes);
            out += "</p>\n";
        }
        inherited(out, callable.inheritedFrom, id, from);
        description(out, callable.description);
        out += "</article>\n";
    }

    void property(std::string& out, const Property& property, const std::string& from) {
        const std::string id = memberId("p", property.name);
        out += "<article class=\"member\" id=\"" + id + "\">\n<h3><a class=\"name\" href=\"#" + id + "\">";
        appendHtml(out, property.name);
        out += "</a> ";
        typeText(out, property.type, from);
        out += "</h3>\n<p class=\"badges\">default <code>";
        appendHtml(out, property.factoryDefault.empty() ? "(failed)" : property.factoryDefault);
        out += "</code>";
        if (property.getAccess != "public") badge(out, "get " + property.getAccess);
        if (property.readOnly)
            badge(out, "read-only");
        else if (property.setAccess != "public")
            badge(out, "set " + property.setAccess);
        differences(out, property.attributes);
        out += "</p>\n";
        inherited(out, property.inheritedFrom, id, from);
        description(out, property.description);
        out += "</article>\n";
    }

    static void open(std::string& out, const std::string& title, const std::string& root) {
        out +=
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
        appendHtml(out, title);
        out += "</title>\n<link rel=\"icon\" href=\"data:,\">\n<link rel=\"stylesheet\" href=\"" + root +
               "style.css\">\n</head>\n<body data-root=\"" + root +
               "\">\n<header class=\"top\">\n<a class=\"home\" href=\"" + root +
               "index.html\">Reference</a>\n<input id=\"search\" type=\"search\" placeholder=\"Search\" "
               "aria-label=\"Search classes, members and functions\" autocomplete=\"off\" "
               "spellcheck=\"false\">\n</header>\n<div id=\"results\" hidden></div>\n<main>\n";
    }

    static void close(std::string& out, const std::string& root) {
        out += "</main>\n<script src=\"" + root + "script.js\"></script>\n</body>\n</html>\n";
    }

    void classList(std::string& out, const std::vector<ClassReport>& classes) {
        if (classes.empty()) return;
        out += "<ul class=\"classes\">\n";
        for (const auto& cls : classes) {
            out += "<li>";
            classLink(out, cls.id, "classes/");
            if (!cls.description.empty()) {
                out += " <span class=\"summary\">";
                appendHtml(out, cls.description);
                out += "</span>";
            }
            out += "</li>\n";
        }
        out += "</ul>\n";
    }

    std::string indexPage() {
        ids_.clear();
        std::string out;
        open(out, "Reference", "");
        const Counts counts = inspection_.counts();
        out += "<h1>Reference</h1>\n<p class=\"lead\">";
        out += counted(counts.namespaces, "namespace", "namespaces") + ", " +
               counted(counts.classes, "class", "classes") + " and " +
               counted(counts.functions, "function", "functions") + " from ";
        for (std::size_t i = 0; i < inspection_.plugins.size(); ++i) {
            if (i) out += ", ";
            out += "<code>";
            appendHtml(out, inspection_.plugins[i].file);
            out += "</code>";
            if (!inspection_.plugins[i].loaded) out += " (failed)";
        }
        out += ", as the host sees them.</p>\n";
        if (!inspection_.errors.empty() || !inspection_.leaks.empty()) {
            out +=
                "<section class=\"problems\">\n<h2>Problems</h2>\n<p>What failed is missing from this "
                "reference:</p>\n<ul>\n";
            for (const auto& error : inspection_.errors) {
                out += "<li>";
                appendHtml(out, describe(error));
                out += "</li>\n";
            }
            if (!inspection_.leaks.empty()) {
                out += "<li>still alive after the plugins were unloaded: ";
                appendHtml(out, inspection_.leaks);
                out += "</li>\n";
            }
            out += "</ul>\n</section>\n";
        }
        if (!spaces_.empty() || !inspection_.classes.empty()) {
            out += "<nav class=\"toc\" aria-label=\"Namespaces\">\n<h2>Namespaces</h2>\n<ul>\n";
            for (const auto& entry : spaces_) {
                out += "<li><a href=\"#" + entry.anchor + "\">";
                appendHtml(out, entry.space->path);
                out += "</a>";
                if (!entry.space->description.empty()) {
                    out += " <span class=\"summary\">";
                    appendHtml(out, entry.space->description);
                    out += "</span>";
                }
                out += "</li>\n";
            }
            if (!inspection_.classes.empty()) out += "<li><a href=\"#registry\">Classes outside namespaces</a></li>\n";
            out += "</ul>\n</nav>\n";
        }
        for (const auto& entry : spaces_) {
            const NamespaceReport& space = *entry.space;
            out += "<section class=\"namespace\" id=\"" + entry.anchor + "\">\n<h2>namespace ";
            appendHtml(out, space.path);
            out += "</h2>\n";
            description(out, space.description);
            classList(out, space.classes);
            for (const auto& function : space.functions) callable(out, function, "f", "classes/", space.path + ".");
            if (space.classes.empty() && space.functions.empty() && space.namespaces.empty())
                out += "<p class=\"empty\">Empty.</p>\n";
            out += "</section>\n";
        }
        if (!inspection_.classes.empty()) {
            out += "<section class=\"namespace\" id=\"registry\">\n<h2>Classes outside namespaces</h2>\n";
            classList(out, inspection_.classes);
            out += "</section>\n";
        }
        diagram(out);
        close(out, "");
        return out;
    }

    void diagram(std::string& out) {
        out += "<section class=\"diagram\" id=\"diagram\">\n<h2>Inheritance</h2>\n";
        if (pages_.size() > kDiagramLimit) {
            out += "<p class=\"note\">" + counted(pages_.size(), "class is", "classes are") + " more than a diagram " +
                   "shows legibly, so it is left out; each class's page lists its superclasses and subclasses. " +
                   "<code>orrery-inspect --dot FILE</code> draws it all the same.</p>\n</section>\n";
            return;
        }
        if (dot_.empty()) {
            out +=
                "<p class=\"note\">The diagram is drawn with Graphviz, which is not installed where this "
                "reference was made; each class's page lists its superclasses and subclasses.</p>\n</section>\n";
            return;
        }
        const fs::path source = directory_ / ".inheritance.dot", image = directory_ / ".inheritance.svg";
        {
            std::ofstream file(source, std::ios::binary);
            writeDot(inspection_, file, [this](const std::string& id) { return href(id, "classes/"); });
            if (!file.flush()) throw std::runtime_error("cannot write " + source.string());
        }
        const std::string svg = renderSvg(dot_, source.string(), image.string()) ? inlineSvg(readFile(image)) : "";
        std::error_code ignored;
        fs::remove(source, ignored);
        fs::remove(image, ignored);
        if (svg.empty())
            out += "<p class=\"note\">Graphviz failed to draw the diagram.</p>\n";
        else
            out += "<figure>\n" + svg +
                   "<figcaption>Namespaces hold their classes and functions; arrows point "
                   "from a class to its superclasses.</figcaption>\n</figure>\n";
        out += "</section>\n";
    }

    std::string classPage(const ClassPage& page) {
        ids_.clear();
        const ClassReport& cls = *page.cls;
        std::string out;
        open(out, cls.id, "../");
        out += "<nav class=\"crumbs\" aria-label=\"Breadcrumbs\"><a href=\"../index.html\">Reference</a> &rsaquo; ";
        if (page.space.empty()) {
            out += "<a href=\"../index.html#registry\">Classes outside namespaces</a>";
        } else {
            out += "<a href=\"../index.html#" + spaceAnchor(page.space) + "\">";
            appendHtml(out, page.space);
            out += "</a>";
        }
        out += "</nav>\n<h1><span class=\"kind\">class</span> ";
        appendHtml(out, cls.id);
        out += "</h1>\n";
        if (!cls.description.empty()) {
            out += "<p class=\"lead\">";
            appendHtml(out, cls.description);
            out += "</p>\n";
        }
        description(out, cls.detailedDescription);
        out += "<dl class=\"facts\">\n";
        related(out, "Superclasses", cls.superclasses);
        const auto subs = subclasses_.find(cls.id);
        if (subs != subclasses_.end()) related(out, "Subclasses", subs->second);
        if (!cls.flags.empty()) {
            out += "<dt>Host attributes</dt><dd>";
            differences(out, cls.flags);
            out += "</dd>\n";
        }
        out += "<dt>Plugin</dt><dd><code>";
        appendHtml(out, cls.plugin);
        out += "</code></dd>\n</dl>\n";
        section(out, "Constructors", cls.constructors, "c");
        if (!cls.properties.empty()) {
            out += "<section>\n<h2>Properties</h2>\n";
            for (const auto& item : cls.properties) property(out, item, "");
            out += "</section>\n";
        }
        section(out, "Methods", cls.methods, "m");
        if (!cls.inheritedProperties.empty()) {
            out += "<section>\n<h2>Inherited properties</h2>\n";
            for (const auto& item : cls.inheritedProperties) property(out, item, "");
            out += "</section>\n";
        }
        section(out, "Inherited methods", cls.inheritedMethods, "m");
        close(out, "../");
        return out;
    }

    void section(std::string& out, const char* title, const std::vector<Callable>& list, const char* kind) {
        if (list.empty()) return;
        out += std::string("<section>\n<h2>") + title + "</h2>\n";
        for (const auto& item : list) callable(out, item, kind, "");
        out += "</section>\n";
    }

    void related(std::string& out, const char* title, const std::vector<std::string>& ids) {
        if (ids.empty()) return;
        out += std::string("<dt>") + title + "</dt><dd>";
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (i) out += ", ";
            classLink(out, ids[i], "");
        }
        out += "</dd>\n";
    }

    std::string spaceAnchor(const std::string& path) const {
        const auto anchor = spaceAnchors_.find(path);
        return anchor == spaceAnchors_.end() ? "" : anchor->second;
    }

    // What the search box searches, shared by every page: each class with its file and its
    // own members (kind, name, and the anchor when it is not kind-name), each namespace and
    // each function with its anchor on the index. A script rather than JSON, so that it
    // loads from the file system, where a page may not fetch; script.js loads it when a
    // search begins.
    std::string searchData() const {
        using Json = nlohmann::ordered_json;
        bool changed = false;
        auto text = [&changed](const std::string& value) { return repairUtf8(value, changed); };
        Json classes = Json::array(), spaces = Json::array(), functions = Json::array();
        for (const auto& page : pages_) {
            Json members = Json::array();
            std::set<std::string> used;
            auto member = [&](const char* kind, const std::string& name) {
                std::string id = std::string(kind) + "-" + slug(name);
                const std::string base = id;
                for (int n = 2; !used.insert(id).second; ++n) id = base + "-" + std::to_string(n);
                Json entry = {kind, text(name)};
                if (id != std::string(kind) + "-" + name) entry.push_back(id);
                members.push_back(std::move(entry));
            };
            // In the order the page gives its ids.
            for (const auto& item : page.cls->constructors) member("c", item.name);
            for (const auto& item : page.cls->properties) member("p", item.name);
            for (const auto& item : page.cls->methods) member("m", item.name);
            classes.push_back({text(page.cls->id), page.file, std::move(members)});
        }
        std::set<std::string> used;
        for (const auto& entry : spaces_) {
            spaces.push_back({text(entry.space->path), entry.anchor});
            for (const auto& function : entry.space->functions) {
                const std::string qualified = entry.space->path + "." + function.name;
                std::string id = "f-" + slug(qualified);
                const std::string base = id;
                for (int n = 2; !used.insert(id).second; ++n) id = base + "-" + std::to_string(n);
                functions.push_back({text(qualified), id});
            }
        }
        const Json data = {
            {"classes", std::move(classes)}, {"namespaces", std::move(spaces)}, {"functions", std::move(functions)}};
        return "window.orreryReference = " + data.dump(-1, ' ', false, Json::error_handler_t::replace) + ";\n";
    }

    const Inspection& inspection_;
    fs::path directory_;
    std::string dot_;
    std::vector<ClassPage> pages_;
    std::map<std::string, std::size_t> pageOf_;
    std::map<std::string, std::vector<std::string>> subclasses_;
    std::vector<SpaceEntry> spaces_;
    std::map<std::string, std::string> spaceAnchors_;  ///< the first namespace of each path
    std::set<std::string> ids_;  ///< on the page being written
};

}  // namespace

void writeHtml(const Inspection& inspection, const std::string& directory, const std::string& dot) {
    HtmlWriter(inspection, directory, dot).write();
}

}  // namespace orrery::inspector
