#pragma once
// The in-memory core of a drawing or presentation document: slides, master
// pages, notes pages and the shapes on them.  The interface objects of
// drawshapes.cxx, drawpages.cxx and drawdocument.cxx are views into it; none of
// it is visible outside libmergedqx.
//
// Ownership runs downwards: the core owns its slides and master pages, a page its
// notes page and its shapes, a group its shapes, a shape its text (a text of kind
// Shape in the document's text core, so that the text model's cursors and
// properties serve shapes too).  A shape that is on no page (new from the
// factory, or taken off its page) is owned by its interface object until it is
// added again.  Upward and sideways links are plain pointers kept up to date by
// the core; each node knows the one interface object that presents it
// (textcore::Linked), so a page or shape is one object whatever the route.
//
// It models less than a drawing program: no rendering, z-order other than list
// order, connectors that connect, layouts that create placeholders, undo or
// storage.  Not thread safe: one thread at a time per document.

#include "../text/textcore.hxx"

#include <com/qam/vexo/awt/geometry.hxx>

#include <map>
#include <memory>
#include <vector>

namespace officehost::draw {

using ::zel::uno::Any;
using textcore::Linked;

struct DrawCore;
struct PageNode;

// What a shape type can do.
struct ShapeKind {
    const char16_t* type;
    bool text;          // holds a text (XText on the shape)
    bool group;         // holds shapes (XShapes on the shape)
    bool presentation;  // made only by presentation documents
    bool custom;        // carries "CustomShapeGeometry"
};
// The kind of a service name, null for names that are no shape of this model.
const ShapeKind* shapeKind(const OUString& type);
// Every shape service name, in a fixed order.
const std::vector<ShapeKind>& shapeKinds();

struct ShapeNode final : textcore::TextOwner {
    ShapeNode(DrawCore& core, const ShapeKind& kind);
    ~ShapeNode();
    ShapeNode(const ShapeNode&) = delete;
    ShapeNode& operator=(const ShapeNode&) = delete;

    ::zel::uno::Reference<::zel::uno::XInterface> textPresenter() override;

    DrawCore& core;
    const ShapeKind& kind;
    ::com::qam::vexo::awt::Point position;
    ::com::qam::vexo::awt::Size size;
    std::map<OUString, Any> props;  // the kind's own properties
    std::unique_ptr<textcore::TextNode> text;       // kinds with text
    std::vector<std::unique_ptr<ShapeNode>> shapes; // groups
    PageNode* page = nullptr;    // the page that holds it directly
    ShapeNode* group = nullptr;  // the group that holds it directly
    Linked* obj = nullptr;
};

enum class PageKind { Slide, Master, Notes };

struct PageNode {
    PageNode(DrawCore& core, PageKind kind);
    ~PageNode();
    PageNode(const PageNode&) = delete;
    PageNode& operator=(const PageNode&) = delete;

    DrawCore& core;
    PageKind kind;
    OUString name;               // masters always; slides when named
    sal_Int16 layout = 0;        // slides of presentations
    bool visible = true;         // slides of presentations
    OUString bookmark;           // slides of presentations
    bool hasBackground = false;  // slides and masters: a background of their own
    sal_Int32 fillStyle = 0;     // its drawing::FillStyle
    sal_Int32 fillColor = 0;     // its 0x00RRGGBB
    PageNode* master = nullptr;  // slides
    PageNode* owner = nullptr;   // notes pages: their slide or master
    std::unique_ptr<PageNode> notes;  // slides and masters of presentations
    std::vector<std::unique_ptr<ShapeNode>> shapes;
    Linked* obj = nullptr;
};

struct DrawCore : std::enable_shared_from_this<DrawCore> {
    explicit DrawCore(bool presentation);
    ~DrawCore();
    DrawCore(const DrawCore&) = delete;
    DrawCore& operator=(const DrawCore&) = delete;

    const bool presentation;
    std::shared_ptr<textcore::Core> text;  // declared first: destroyed after the pages
    std::vector<std::unique_ptr<PageNode>> slides;
    std::vector<std::unique_ptr<PageNode>> masters;
    ::com::qam::vexo::awt::Size pageSize{28000, 15750};   // slides and masters
    ::com::qam::vexo::awt::Size notesSize{21000, 29700};  // notes pages
    OUString title;
    OUString url;
    sal_Int32 nextMaster = 1;

    std::unique_ptr<ShapeNode> makeShape(const ShapeKind& kind);
    // A new master page (with its notes page in a presentation) at the index.
    PageNode* insertMaster(std::size_t index);
    // A new slide at the index with the master; its notes page in a presentation.
    PageNode* insertSlide(std::size_t index, PageNode* master, sal_Int16 layout);
    // A deep copy of a slide (shapes, text, notes page, master, layout, state)
    // right behind it.
    PageNode* duplicateSlide(PageNode* slide);
    // Takes a page out and destroys it; slides on a removed master move to the first master.
    void removePage(PageNode* page);
    // Adds a shape at the end of a page or group.
    void addShape(std::unique_ptr<ShapeNode> shape, PageNode* page, ShapeNode* group);
    // Takes a shape off its page or group and hands it over.
    std::unique_ptr<ShapeNode> takeShape(ShapeNode* shape);
    std::vector<std::unique_ptr<PageNode>>& listOf(const PageNode* page);
    sal_Int32 indexOf(const PageNode* page);
};

// Replaces every match of `search` in the paragraphs of the text, left to right
// and without overlaps, the replacements not searched again; without case
// sensitivity, characters match when their ICU case foldings do.  Returns the count.
sal_Int32 replaceInText(textcore::Core& core, textcore::TextNode& text, const OUString& search,
                        const OUString& replacement, bool caseSensitive);

} // namespace officehost::draw
