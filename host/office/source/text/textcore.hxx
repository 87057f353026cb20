#pragma once
// The in-memory core of a text document: texts made of paragraphs and tables,
// paragraphs made of units (characters and character-anchored objects), styles,
// numbering, and positions that follow edits.  The interface objects of
// textobjects.cxx are views into this core; none of it is visible outside
// the text area of libmergedqx.
//
// Ownership runs strictly downwards: the Core owns the body text, a text owns its
// blocks, a table its cell texts, a unit its footnote or frame.  Everything that
// points upwards or sideways is a plain pointer kept up to date by the core:
//   - Position: a registered (paragraph, offset) pair that edits move along;
//   - Linked: the interface object that currently presents a node (at most one),
//     told by the node when it goes, so objects never dangle.
// Interface objects hold a std::shared_ptr<Core>, so the core outlives them all.
//
// It models less than a word processor: no layout, pages, sections, fields,
// change tracking or undo; a text cursor stays within its text and steps over a
// table in one move instead of entering its cells; a text that begins with a
// table starts (for cursors) at its first paragraph.  The model is not thread
// safe: callers use one document from one thread at a time.

#include <com/qam/vexo/beans/values.hxx>
#include <zel/uno/Any.hxx>
#include <zel/uno/Reference.hxx>

#include <functional>
#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

namespace officehost::textcore {

using ::zel::uno::Any;

struct Core;
struct TextNode;
struct ParaNode;
struct TableNode;
struct InlineNode;

// The interface object that presents a node.  The node calls nodeGone() when it
// is destroyed; the object clears the node's pointer to it when it goes first.
class Linked {
public:
    virtual void nodeGone() = 0;
    virtual ::zel::uno::XInterface* linkedInterface() = 0;

protected:
    ~Linked() = default;
};

// Character properties of units: shared, immutable maps (equal maps make one portion).
using Attrs = std::map<OUString, Any>;
using AttrsPtr = std::shared_ptr<const Attrs>;

// Numbering rules as a value: ten levels of property values and the list they start.
struct NumberingData {
    static constexpr sal_Int32 levelCount = 10;
    OUString listId;
    std::vector<std::vector<::com::qam::vexo::beans::PropertyValue>> levels;
    // Ten default levels (bullets) of a new list.
    static std::shared_ptr<NumberingData> create(Core& core);
};
using NumberingPtr = std::shared_ptr<const NumberingData>;

struct Style {
    OUString name;
    OUString parent;
    bool userDefined = false;
    Attrs props;  // paragraph and character properties
    NumberingPtr numbering;
    Linked* obj = nullptr;
};

enum class InlineKind { Footnote, Frame };

// An object that stands in a paragraph as one unit: a footnote anchor (with the
// footnote's text) or a character-anchored frame (a graphic object's properties).
struct InlineNode {
    InlineNode(Core& core, InlineKind kind);
    ~InlineNode();
    InlineNode(const InlineNode&) = delete;
    InlineNode& operator=(const InlineNode&) = delete;

    Core& core;
    InlineKind kind;
    std::unique_ptr<TextNode> text;  // footnotes only
    OUString label;                  // footnotes: explicit label, empty for automatic numbering
    Attrs props;                     // frames: their properties
    bool widthSet = false;           // frames: a size was set, so a graphic's natural size does not replace it
    bool heightSet = false;
    Linked* obj = nullptr;
};

struct Unit {
    sal_Unicode ch = 0;  // 0 for an inline object
    AttrsPtr attrs;      // may be null: no direct character properties
    std::unique_ptr<InlineNode> object;
};

struct Block {
    explicit Block(TextNode* t) : text(t) {}
    virtual ~Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    virtual bool isTable() const = 0;
    TextNode* text;  // the text that holds the block
    // Where the block stood when last looked up (TextNode::indexOf checks it
    // first), so that walks over long texts do not search for every block.
    mutable sal_Int32 indexHint = -1;
};

struct ParaNode final : Block {
    ParaNode(TextNode* t);
    ~ParaNode() override;
    bool isTable() const override { return false; }

    std::vector<Unit> units;
    // Frames anchored at the paragraph rather than as a character; they go with it.
    std::vector<std::unique_ptr<InlineNode>> anchored;
    OUString style = u"Standard";
    Attrs props;            // direct paragraph and character properties
    NumberingPtr numbering; // direct numbering rules
    bool numberingCleared = false;  // numbering explicitly switched off (overrides the style's)
    Linked* obj = nullptr;
    sal_Int32 length() const { return static_cast<sal_Int32>(units.size()); }
};

struct RowNode {
    std::vector<std::unique_ptr<TextNode>> cells;
    Linked* obj = nullptr;
    ~RowNode();
};

struct TableNode final : Block {
    TableNode(Core& core, TextNode* t, sal_Int32 rows, sal_Int32 columns);
    ~TableNode() override;
    bool isTable() const override { return true; }

    Core& core;
    std::vector<std::unique_ptr<RowNode>> rows;
    sal_Int32 columns;
    Linked* obj = nullptr;
    std::unique_ptr<RowNode> makeRow();
};

enum class TextKind { Body, Cell, Footnote, Shape };

// The node of another area that holds a text of kind Shape (a drawing shape) and
// presents it: the object it gives is the text's XText.
class TextOwner {
public:
    virtual ::zel::uno::Reference<::zel::uno::XInterface> textPresenter() = 0;

protected:
    ~TextOwner() = default;
};

struct TextNode {
    TextNode(Core& core, TextKind kind);
    ~TextNode();
    TextNode(const TextNode&) = delete;
    TextNode& operator=(const TextNode&) = delete;

    Core& core;
    TextKind kind;
    std::vector<std::unique_ptr<Block>> blocks;  // at least one paragraph; never ends with a table
    TableNode* table = nullptr;    // cells: their table (row and column found by search)
    InlineNode* footnote = nullptr; // footnote texts: their footnote
    TextOwner* owner = nullptr;     // shape texts: the shape that holds them
    Linked* obj = nullptr;

    ParaNode* firstPara() const;
    ParaNode* lastPara() const;
    sal_Int32 indexOf(const Block* b) const;
};

struct Pos {
    ParaNode* para = nullptr;
    sal_Int32 off = 0;
    bool valid() const { return para != nullptr; }
    friend bool operator==(const Pos&, const Pos&) = default;
};

// A position registered with the core, so that edits move it along.  It becomes
// invalid (no paragraph) when its paragraph is destroyed with its text.
class Position {
public:
    Position(Core& core, Pos p);
    Position(const Position& other);
    Position& operator=(const Position& other) = delete;
    ~Position();
    const Pos& get() const { return pos_; }
    void set(Pos p) { pos_ = p; }
    Pos& ref() { return pos_; }

private:
    Core& core_;
    Pos pos_;
};

// Where a block stands and how texts are laid out, shared by cursors and strings.
TextNode* textOf(const Pos& p);
// -1, 0, 1 for a before, at, after b; both in the same text.
int compare(const Pos& a, const Pos& b);
Pos startOf(const TextNode& t);
Pos endOf(const TextNode& t);
// The neighbouring paragraph of the same text, skipping tables; null at the ends.
ParaNode* nextPara(const ParaNode* p);
ParaNode* prevPara(const ParaNode* p);
// One step of a text cursor; false at the end (start) of the text.
bool stepRight(Pos& p);
bool stepLeft(Pos& p);

// The plain text: a footnote anchor shows its label, a frame nothing; paragraphs
// and table cells are separated by "\n".
OUString renderUnits(const ParaNode& p, sal_Int32 from, sal_Int32 to);
OUString textString(const TextNode& t);
OUString rangeString(const Pos& a, const Pos& b);
OUString footnoteLabel(const InlineNode& footnote);

// Where an inline object stands: its paragraph and offset (invalid when nowhere).
// For a frame anchored at a paragraph, that paragraph's start, with *atParagraph set.
Pos locate(const InlineNode& node, bool* atParagraph = nullptr);
// All footnotes of the document in document order.
std::vector<InlineNode*> footnotes(const Core& core);

// Property descriptions of the text model.
enum class PropScope { Character, Paragraph, Portion };
struct PropDesc {
    OUString name;
    ::zel::uno::Type type;
    PropScope scope;
    Any defaultValue;
    bool maybeVoid = false;
    bool readOnly = false;
};
const std::vector<PropDesc>& propertyTable();
const PropDesc* findProp(const OUString& name);

struct Core {
    Core();
    ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    std::unordered_set<Position*> positions;  // declared first: destroyed last
    std::map<OUString, Style> styles;
    Linked* stylesObj = nullptr;
    sal_Int32 nextListId = 1;
    sal_Int32 nextTableName = 1;
    std::unique_ptr<TextNode> body;
    // Told after every edit of the content (set by the document that shows the core).
    std::function<void()> onEdit;
    void changed() {
        if (onEdit) onEdit();
    }

    // Edits.  Positions move along: at an insertion point they move behind the new
    // units; in deleted content they collapse to the start of the deletion.
    void insertUnits(Pos at, std::vector<Unit> units);
    // Inserts text; "\n", "\r" and "\r\n" start new paragraphs.  New characters take
    // the character properties of the unit before them (at a paragraph start: after).
    // Returns the end of the inserted text.
    Pos insertString(Pos at, const OUString& s);
    // Splits the paragraph; the new paragraph after it takes the paragraph properties.
    ParaNode* splitParagraph(Pos at);
    // Deletes [a, b) of one text, with the blocks between; the paragraphs at both
    // ends merge into the first.
    void erase(Pos a, Pos b);
    // Empties the text, leaving one empty paragraph with the first one's properties.
    void clearText(TextNode& t);
    // Removes a block; the last paragraph of a text cannot be removed (RuntimeException).
    void removeBlock(Block& b);
    // Inserts a table at the position: before the paragraph at its start, after it at
    // its end (with a new empty paragraph when it was the text's last), otherwise
    // into the split paragraph.
    void insertTable(Pos at, std::unique_ptr<TableNode> table);
    void relocate(ParaNode* from, Pos to);
    void invalidate(ParaNode* gone);

    // Property values.
    const Style* findStyle(const OUString& name) const;
    // The paragraph's value: direct, else from its style chain, else the default.
    Any paraValue(const ParaNode& p, const OUString& name) const;
    Any styleValue(const OUString& styleName, const OUString& name) const;
    NumberingPtr effectiveNumbering(const ParaNode& p) const;
    Any unitValue(const ParaNode& p, sal_Int32 off, const OUString& name) const;
};

// Validates and converts a value for a property (IllegalArgumentException when the
// type does not fit); a void value of a may-be-void property stays void.
Any coerce(const PropDesc& d, const Any& value, const OUString& operation);

} // namespace officehost::textcore
