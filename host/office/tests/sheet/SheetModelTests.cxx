// The stand-in spreadsheet: cells and formulas, recalculation, structure,
// names, number formats, formatting and the view, through the published interfaces.

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/frame/title.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/sheet/sheet.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/numberformats.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <officehost/desktop.hxx>
#include <officehost/sheetcounters.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/sheet/SpreadsheetBuilder.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

namespace css = ::com::qam::vexo;
using testsupport::sheet::SpreadsheetBuilder;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

template <class E>
void expectThrow(const std::function<void()>& f, const std::u16string& message) {
    try {
        f();
    } catch (const E& e) {
        EXPECT_EQ(e.Message, OUString(message));
        EXPECT_EQ(e.getType().getTypeName(), cppu::UnoType<E>::get().getTypeName());
        return;
    } catch (const ::zel::uno::Exception& e) {
        ADD_FAILURE() << "unexpected " << e.getType().getTypeName() << ": " << e.Message;
        return;
    }
    ADD_FAILURE() << "no exception; expected " << OUString(message);
}

class SheetModelTest : public testsupport::HostTest {
protected:
    static OUString shown(const Reference<css::table::XCell>& c) {
        return Reference<css::text::XText>(c, UNO_QUERY_THROW)->getString();
    }
    static Any prop(const Reference<::zel::uno::XInterface>& o, const char16_t* name) {
        return Reference<css::beans::XPropertySet>(o, UNO_QUERY_THROW)->getPropertyValue(OUString(std::u16string_view(name)));
    }
    static void setProp(const Reference<::zel::uno::XInterface>& o, const char16_t* name, const Any& v) {
        Reference<css::beans::XPropertySet>(o, UNO_QUERY_THROW)->setPropertyValue(OUString(std::u16string_view(name)), v);
    }
    static css::table::CellRangeAddress address(const Reference<::zel::uno::XInterface>& o) {
        return Reference<css::sheet::XCellRangeAddressable>(o, UNO_QUERY_THROW)->getRangeAddress();
    }
};

TEST_F(SheetModelTest, FormulasEvaluate) {
    SpreadsheetBuilder doc;
    doc.sheet(u"My Sheet").cells(u"Sheet1", u"A1", {{u"2", u"3", u"hello", u"12abc"}, {u"4", u"", u"TRUE"}});
    doc.cells(u"My Sheet", u"A1", {{u"10", u"20"}});
    doc.name(u"Pair", u"$Sheet1!$A$1:$B$1");
    struct Case {
        const char16_t* input;
        const char16_t* shown;
        sal_Int32 resultType;
    };
    const Case cases[] = {
        {u"=1+2*3", u"7", 1},
        {u"=(1+2)*3", u"9", 1},
        {u"=2^3^2", u"64", 1},
        {u"=-2^2", u"4", 1},
        {u"=A1+B1", u"5", 1},
        {u"=$A$1*a2", u"8", 1},
        {u"=\"a\"&\"b\"&1", u"ab1", 2},
        {u"=\"say \"\"hi\"\"\"", u"say \"hi\"", 2},
        {u"=1/0", u"#DIV/0!", 4},
        {u"=C1+1", u"#VALUE!", 4},
        {u"=D1*1", u"#VALUE!", 4},
        {u"=\"12\"*2", u"24", 1},
        {u"=FOO(1)", u"#NAME?", 4},
        {u"=nosuchname+1", u"#NAME?", 4},
        {u"=1+", u"#SYNTAX!", 4},
        {u"=SUM(A1:B2)", u"9", 1},
        {u"=sum(A1:C2)", u"9", 1},
        {u"=SUM(Pair)", u"5", 1},
        {u"=AVERAGE(A1:B1)", u"2.5", 1},
        {u"=AVERAGE(C1)", u"#DIV/0!", 4},
        {u"=MIN(A1:B2;7)", u"2", 1},
        {u"=MAX(A1:B2,7)", u"7", 1},
        {u"=COUNT(A1:D2)", u"3", 1},
        {u"=COUNTA(A1:D2)", u"6", 1},
        {u"=PRODUCT(A1:B2)", u"24", 1},
        {u"=ROUND(2.345,2)", u"2.35", 1},
        {u"=ROUND(-2.5)", u"-3", 1},
        {u"=ABS(-3)", u"3", 1},
        {u"=IF(A1>1,\"big\",\"small\")", u"big", 2},
        {u"=IF(A1>5,\"big\")", u"FALSE", 1},
        {u"=AND(TRUE,A1=2)", u"TRUE", 1},
        {u"=OR(FALSE,0)", u"FALSE", 1},
        {u"=NOT(C2)", u"FALSE", 1},
        {u"=CONCATENATE(\"x\",A1,TRUE)", u"x2TRUE", 2},
        {u"=LEN(C1)", u"5", 1},
        {u"='My Sheet'!A1+'My Sheet'!B1", u"30", 1},
        {u"=SUM('My Sheet'!A1:B1)", u"30", 1},
        {u"=Missing!A1", u"#REF!", 4},
        {u"=\"abc\"<\"ABD\"", u"TRUE", 1},
        {u"=1<\"a\"", u"TRUE", 1},
        {u"=10^400", u"#NUM!", 4},
        {u"=0.1+0.2", u"0.3", 1},
        {u"=A1:B1", u"#VALUE!", 4},
    };
    auto target = doc.cell(u"Sheet1", u"F1");
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.input)));
        target->setFormula(OUString(std::u16string_view(c.input)));
        EXPECT_EQ(target->getType(), css::table::CellContentType::FORMULA);
        EXPECT_EQ(shown(target), OUString(std::u16string_view(c.shown)));
        EXPECT_EQ(prop(target, u"FormulaResultType2").get<sal_Int32>(), c.resultType);
    }
}

TEST_F(SheetModelTest, InputIsANumberOnlyWhenItReadsWhollyAsOne) {
    SpreadsheetBuilder doc;
    auto cell = doc.cell(u"Sheet1", u"A1");
    struct Case {
        const char16_t* input;
        sal_Int32 type;
        double value;
        const char16_t* formula;
    };
    const Case cases[] = {
        {u"12", 1, 12, u"12"},       {u"-1.5e3", 1, -1500, u"-1500"}, {u" 12", 2, 0, u" 12"},
        {u"12 ", 2, 0, u"12 "},       {u"1,5", 2, 0, u"1,5"},         {u"abc", 2, 0, u"abc"},
        {u"", 0, 0, u""},             {u"=1+1", 3, 2, u"=1+1"},       {u"= sum( 1 ; 2 )", 3, 3, u"=SUM(1,2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.input)));
        cell->setFormula(OUString(std::u16string_view(c.input)));
        EXPECT_EQ(cell->getType(), c.type);
        EXPECT_EQ(cell->getValue(), c.value);
        EXPECT_EQ(cell->getFormula(), OUString(std::u16string_view(c.formula)));
    }
}

// Arbitrary input never crashes the parser, the evaluator or the format parser:
// formulas give a result (possibly an error), codes are accepted or refused.
TEST_F(SheetModelTest, ArbitraryFormulasAndFormatCodesAreHandled) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1", u"x", u"=A1"}});
    auto cell = doc.cell(u"Sheet1", u"D4");
    Reference<css::util::XNumberFormats> formats(
        Reference<css::util::XNumberFormatsSupplier>(doc.model(), UNO_QUERY_THROW)->getNumberFormats());
    const std::u16string alphabet = u"=+-*/^&<>(),;:!$'\"#%.0123456789ABCEHMSYabdehmsy[]@_ \u00e9";
    unsigned state = 12345;
    auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 16) & 0x7fff; };
    for (int i = 0; i < 3000; ++i) {
        std::u16string text;
        for (unsigned n = next() % 24; n > 0; --n) text += alphabet[next() % alphabet.size()];
        OUString input(text);
        cell->setFormula(u"=" + input);
        EXPECT_EQ(cell->getType(), css::table::CellContentType::FORMULA);
        shown(cell);
        cell->getFormula();
        try {
            sal_Int32 key = formats->queryKey(input, {}, true);
            if (key < 0) key = formats->addNew(input, {});
            setProp(cell, u"NumberFormat", Any(key));
            cell->setValue(double(next()) - 16000.5);
            shown(cell);
        } catch (const css::util::MalformedNumberFormatException&) {
        }
    }
    setProp(cell, u"NumberFormat", Any(sal_Int32(0)));
    // Deep nesting is a syntax error, not a stack overflow.
    cell->setFormula(u"=" + OUString(std::u16string(5000, u'(')) + u"1" + OUString(std::u16string(5000, u')')));
    EXPECT_EQ(shown(cell), OUString(u"#SYNTAX!"));
    cell->setFormula(u"=" + OUString(std::u16string(5000, u'-')) + u"1");
    EXPECT_EQ(shown(cell), OUString(u"#SYNTAX!"));
    std::u16string longSum = u"=1";
    for (int i = 0; i < 100000; ++i) longSum += u"+1";
    cell->setFormula(OUString(longSum));
    EXPECT_EQ(shown(cell), OUString(u"#SYNTAX!"));
    std::u16string fine = u"=1";
    for (int i = 0; i < 999; ++i) fine += u"+1";
    cell->setFormula(OUString(fine));
    EXPECT_EQ(shown(cell), OUString(u"1000"));
}

TEST_F(SheetModelTest, NonFiniteValuesAreRefused) {
    SpreadsheetBuilder doc;
    auto cell = doc.cell(u"Sheet1", u"A1");
    cell->setValue(5);
    expectThrow<css::lang::IllegalArgumentException>([&] { cell->setValue(std::nan("")); },
                                                      u"setValue: expected a finite number, got nan");
    expectThrow<css::lang::IllegalArgumentException>(
        [&] { cell->setValue(std::numeric_limits<double>::infinity()); }, u"setValue: expected a finite number, got inf");
    EXPECT_EQ(cell->getValue(), 5.0);
}

TEST_F(SheetModelTest, RecalculationFollowsDependenciesOnly) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    for (sal_Int32 r = 0; r < 100; ++r) {
        sheet->getCellByPosition(0, r)->setValue(1);
        sheet->getCellByPosition(2, r)->setFormula(u"=A" + OUString::number(r + 1) + u"*2");  // unrelated to B1
    }
    auto sum = doc.cell(u"Sheet1", u"B1");
    sum->setFormula(u"=SUM(A1:A100)");
    auto twice = doc.cell(u"Sheet1", u"B2");
    twice->setFormula(u"=B1*2");
    EXPECT_EQ(twice->getValue(), 200.0);
    sheet->getCellByPosition(2, 0)->getValue();
    officehost::resetSheetCalculationCounts(doc.model());
    sheet->getCellByPosition(0, 49)->setValue(11);
    EXPECT_EQ(twice->getValue(), 220.0);
    auto counts = officehost::sheetCalculationCounts(doc.model());
    // B1, B2 and C50 read A50; only B1 and B2 were asked for.
    EXPECT_EQ(counts.formulasEvaluated, 2u);
    EXPECT_EQ(counts.cellsRead, 101u);  // A1:A100 for B1, B1 for B2
    EXPECT_EQ(sheet->getCellByPosition(2, 49)->getValue(), 22.0);
    EXPECT_EQ(officehost::sheetCalculationCounts(doc.model()).formulasEvaluated, 3u);
}

TEST_F(SheetModelTest, ManualCalculationKeepsResultsUntilAsked) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1", u"=A1+1", u"=B1+1"}});
    Reference<css::sheet::XCalculatable> calc(doc.model(), UNO_QUERY_THROW);
    auto a1 = doc.cell(u"Sheet1", u"A1");
    auto c1 = doc.cell(u"Sheet1", u"C1");
    EXPECT_EQ(c1->getValue(), 3.0);
    calc->enableAutomaticCalculation(false);
    a1->setValue(10);
    EXPECT_EQ(c1->getValue(), 3.0);
    // A formula entered now is calculated at once, from the inputs as they are.
    auto d1 = doc.cell(u"Sheet1", u"D1");
    d1->setFormula(u"=A1*2");
    EXPECT_EQ(d1->getValue(), 20.0);
    calc->calculate();
    EXPECT_EQ(c1->getValue(), 12.0);
    a1->setValue(20);
    calc->calculateAll();
    EXPECT_EQ(c1->getValue(), 22.0);
    calc->enableAutomaticCalculation(true);
    a1->setValue(1);
    EXPECT_EQ(c1->getValue(), 3.0);
}

TEST_F(SheetModelTest, CyclesGiveAnErrorAndLongChainsNoCrash) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"=B1+1", u"=A1+1", u"=C1"}});
    EXPECT_EQ(shown(doc.cell(u"Sheet1", u"A1")), OUString(u"#CYCLE!"));
    EXPECT_EQ(shown(doc.cell(u"Sheet1", u"B1")), OUString(u"#CYCLE!"));
    EXPECT_EQ(shown(doc.cell(u"Sheet1", u"C1")), OUString(u"#CYCLE!"));
    auto sheet = doc.sheetNamed(u"Sheet1");
    sheet->getCellByPosition(3, 0)->setValue(1);
    for (sal_Int32 r = 1; r < 20000; ++r)
        sheet->getCellByPosition(3, r)->setFormula(u"=D" + OUString::number(r) + u"+1");
    EXPECT_EQ(sheet->getCellByPosition(3, 19999)->getValue(), 20000.0);
}

TEST_F(SheetModelTest, DeletingRowsShiftsFormulasRangesAndNames) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1"}, {u"2"}, {u"3"}, {u"4"}, {u"=SUM(A1:A4)", u"=A2", u"=A4*10"}});
    doc.name(u"Block", u"$Sheet1!$A$3:$A$4");
    auto sheet = doc.sheetNamed(u"Sheet1");
    auto block = sheet->getCellRangeByName(u"A3:B4");
    auto cellA4 = doc.cell(u"Sheet1", u"A4");
    Reference<css::table::XColumnRowRange> lines(sheet, UNO_QUERY_THROW);
    lines->getRows()->removeByIndex(1, 1);  // row 2
    auto e = sheet->getCellByPosition(0, 3);
    EXPECT_EQ(e->getFormula(), OUString(u"=SUM(A1:A3)"));
    EXPECT_EQ(e->getValue(), 8.0);
    EXPECT_EQ(sheet->getCellByPosition(1, 3)->getFormula(), OUString(u"=#REF!"));
    EXPECT_EQ(shown(sheet->getCellByPosition(1, 3)), OUString(u"#REF!"));
    EXPECT_EQ(sheet->getCellByPosition(2, 3)->getFormula(), OUString(u"=A3*10"));
    EXPECT_EQ((address(block) == css::table::CellRangeAddress{0, 0, 1, 1, 2}), true);
    EXPECT_EQ(cellA4->getValue(), 4.0);
    Reference<css::sheet::XNamedRanges> names(prop(doc.model(), u"NamedRanges"), UNO_QUERY_THROW);
    Reference<css::sheet::XNamedRange> name(names->getByName(u"Block"), UNO_QUERY_THROW);
    EXPECT_EQ(name->getContent(), OUString(u"$Sheet1!$A$2:$A$3"));
    // Deleting every cell of a block leaves objects on it without cells.
    lines->getRows()->removeByIndex(1, 2);
    expectThrow<css::lang::DisposedException>([&] { address(block); },
                                              u"getRangeAddress: the object is no longer part of the document");
    EXPECT_EQ(name->getContent(), OUString(u"#REF!"));
    EXPECT_FALSE(Reference<css::sheet::XCellRangeReferrer>(name, UNO_QUERY_THROW)->getReferredCells().is());
    expectThrow<css::lang::IndexOutOfBoundsException>(
        [&] { lines->getRows()->removeByIndex(1048575, 2); },
        u"removeByIndex: rows 1048575 to 1048576 do not all exist in a range of 1048576 rows");
}

TEST_F(SheetModelTest, InsertingRowsAndColumnsShiftsContentAndRefusesToPushItOff) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1", u"=A1+A2"}, {u"2"}});
    auto sheet = doc.sheetNamed(u"Sheet1");
    Reference<css::table::XColumnRowRange> lines(sheet, UNO_QUERY_THROW);
    lines->getRows()->insertByIndex(1, 2);
    EXPECT_EQ(doc.cell(u"Sheet1", u"B1")->getFormula(), OUString(u"=A1+A4"));
    EXPECT_EQ(doc.cell(u"Sheet1", u"B1")->getValue(), 3.0);
    lines->getColumns()->insertByIndex(0, 1);
    EXPECT_EQ(doc.cell(u"Sheet1", u"C1")->getFormula(), OUString(u"=B1+B4"));
    doc.cell(u"Sheet1", u"A1048576")->setValue(1);
    expectThrow<css::lang::IllegalArgumentException>(
        [&] { lines->getRows()->insertByIndex(0, 1); },
        u"insertByIndex: cells with content would be pushed off the end of the sheet");
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1048576")->getValue(), 1.0);
}

TEST_F(SheetModelTest, NamesOutliveTheSheetOfTheirPosition) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two").sheet(u"Three");
    doc.name(u"Local", u"A1", u"Two");
    doc.name(u"Global", u"$Three!$B$2");
    doc.sheets()->removeByName(u"Three");
    Reference<css::sheet::XNamedRanges> local(prop(doc.sheetNamed(u"Two"), u"NamedRanges"), UNO_QUERY_THROW);
    Reference<css::sheet::XNamedRange> name(local->getByName(u"Local"), UNO_QUERY_THROW);
    EXPECT_EQ(name->getContent(), OUString(u"A1"));
    Reference<css::sheet::XNamedRanges> global(prop(doc.model(), u"NamedRanges"), UNO_QUERY_THROW);
    EXPECT_EQ(Reference<css::sheet::XNamedRange>(global->getByName(u"Global"), UNO_QUERY_THROW)->getContent(),
              OUString(u"#REF!"));
    doc.sheets()->removeByName(u"Two");
    expectThrow<css::lang::DisposedException>([&] { name->getContent(); },
                                              u"getContent: the object is no longer part of the document");
    expectThrow<css::lang::DisposedException>([&] { local->hasByName(u"Local"); },
                                              u"hasByName: the object is no longer part of the document");
}

TEST_F(SheetModelTest, SheetsAreNamedUniquelyAndGoneSheetsAreDisposed) {
    SpreadsheetBuilder doc;
    auto sheets = doc.sheets();
    Reference<css::container::XIndexAccess> index(sheets, UNO_QUERY_THROW);
    sheets->insertNewByName(u"Data", 99);
    sheets->insertNewByName(u"First", 0);
    EXPECT_EQ(sheets->getElementNames(), (::zel::uno::Sequence<OUString>{u"First", u"Sheet1", u"Data"}));
    expectThrow<css::container::ElementExistException>([&] { sheets->insertNewByName(u"DATA", 0); },
                                                       u"insertNewByName: a sheet named DATA already exists");
    expectThrow<css::lang::IllegalArgumentException>([&] { sheets->insertNewByName(u"a/b", 0); },
                                                     u"insertNewByName: a sheet name must not contain /, got a/b");
    expectThrow<css::lang::IllegalArgumentException>([&] { sheets->insertNewByName(u"", 0); },
                                                     u"insertNewByName: a sheet name must not be empty");
    EXPECT_TRUE(sheets->hasByName(u"data"));
    auto data = doc.sheetNamed(u"Data");
    EXPECT_TRUE(Reference<css::sheet::XSpreadsheet>(index->getByIndex(2), UNO_QUERY) == data);
    EXPECT_EQ(address(data).Sheet, 2);
    doc.cells(u"Sheet1", u"A1", {{u"=Data!A1+1"}});
    doc.cells(u"Data", u"A1", {{u"5"}});
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getValue(), 6.0);
    auto dataCell = doc.cell(u"Data", u"A1");
    sheets->removeByName(u"First");
    EXPECT_EQ(address(data).Sheet, 1);
    sheets->removeByName(u"Data");
    expectThrow<css::lang::DisposedException>([&] { Reference<css::container::XNamed>(data, UNO_QUERY_THROW)->getName(); },
                                              u"getName: the object is no longer part of the document");
    expectThrow<css::lang::DisposedException>([&] { dataCell->getValue(); },
                                              u"getValue: the object is no longer part of the document");
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getFormula(), OUString(u"=#REF!+1"));
    expectThrow<css::lang::IllegalArgumentException>([&] { sheets->removeByName(u"Sheet1"); },
                                                     u"removeByName: the last sheet cannot be removed");
    expectThrow<css::container::NoSuchElementException>([&] { sheets->removeByName(u"Nope"); },
                                                        u"removeByName: there is no sheet named Nope");
}

TEST_F(SheetModelTest, CellRangesByNameAndPosition) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    struct Case {
        const char16_t* name;
        css::table::CellRangeAddress expected;
    };
    const Case cases[] = {
        {u"B2", {0, 1, 1, 1, 1}},          {u"a1:c10", {0, 0, 0, 2, 9}}, {u"$B$2:$C$3", {0, 1, 1, 2, 2}},
        {u"C3:A1", {0, 0, 0, 2, 2}},       {u"XFD1048576", {0, 16383, 1048575, 16383, 1048575}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.name)));
        EXPECT_TRUE(address(sheet->getCellRangeByName(OUString(std::u16string_view(c.name)))) == c.expected);
    }
    for (const char16_t* bad : {u"", u"1A", u"A", u"A1:", u"Sheet1!A1", u"A1 ", u"AAAAA1"})
        expectThrow<css::lang::IllegalArgumentException>(
            [&] { sheet->getCellRangeByName(OUString(std::u16string_view(bad))); },
            u"getCellRangeByName: expected a cell or block address such as B2 or A1:C10, got " + std::u16string(bad));
    expectThrow<css::lang::IndexOutOfBoundsException>(
        [&] { sheet->getCellRangeByName(u"A1:A1048577"); },
        u"getCellRangeByName: A1:A1048577 lies outside the range of 16384 columns and 1048576 rows");
    auto block = sheet->getCellRangeByPosition(1, 1, 3, 2);
    EXPECT_TRUE((address(block) == css::table::CellRangeAddress{0, 1, 1, 3, 2}));
    EXPECT_TRUE((address(block->getCellRangeByPosition(1, 1, 2, 1)) == css::table::CellRangeAddress{0, 2, 2, 3, 2}));
    expectThrow<css::lang::IndexOutOfBoundsException>(
        [&] { block->getCellByPosition(3, 0); },
        u"getCellByPosition: column 3, row 0 lies outside the range of 3 columns and 2 rows");
    expectThrow<css::lang::IndexOutOfBoundsException>(
        [&] { sheet->getCellRangeByPosition(0, 0, 0, 1048576); },
        u"getCellRangeByPosition: columns 0 to 0 and rows 0 to 1048576 do not lie within the range of 16384 columns "
        u"and 1048576 rows");
}

TEST_F(SheetModelTest, UsedAreaIsTheBoundingBlockOfContent) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    auto usedArea = [&] {
        auto cursor = sheet->createCursor();
        Reference<css::sheet::XUsedAreaCursor> used(cursor, UNO_QUERY_THROW);
        used->gotoStartOfUsedArea(false);
        used->gotoEndOfUsedArea(true);
        return address(cursor);
    };
    EXPECT_TRUE((usedArea() == css::table::CellRangeAddress{0, 0, 0, 0, 0}));
    doc.cells(u"Sheet1", u"C5", {{u"x"}, {u"", u"", u"1"}});
    EXPECT_TRUE((usedArea() == css::table::CellRangeAddress{0, 2, 4, 4, 5}));
    // Formatting alone is no content.
    setProp(sheet->getCellRangeByName(u"A1:Z100"), u"CharWeight", Any(150.0f));
    EXPECT_TRUE((usedArea() == css::table::CellRangeAddress{0, 2, 4, 4, 5}));
}

TEST_F(SheetModelTest, FormattingAppliesToEveryCellOfTheBlock) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    setProp(sheet->getCellRangeByName(u"B1:B1048576"), u"CharWeight", Any(150.0f));
    EXPECT_EQ(prop(doc.cell(u"Sheet1", u"B1000000"), u"CharWeight").get<float>(), 150.0f);
    EXPECT_EQ(prop(doc.cell(u"Sheet1", u"C1"), u"CharWeight").get<float>(), 100.0f);
    setProp(sheet, u"CharPosture", Any(css::awt::FontSlant_ITALIC));
    EXPECT_EQ(prop(doc.cell(u"Sheet1", u"XFD1048576"), u"CharPosture").get<css::awt::FontSlant>(),
              css::awt::FontSlant_ITALIC);
    setProp(doc.cell(u"Sheet1", u"A1"), u"CellBackColor", Any(sal_Int32(0xFF8000)));
    EXPECT_EQ(prop(doc.cell(u"Sheet1", u"A1"), u"CellBackColor").get<sal_Int32>(), 0xFF8000);
    expectThrow<css::lang::IllegalArgumentException>(
        [&] { setProp(sheet, u"CharWeight", Any(OUString(u"bold"))); },
        u"setPropertyValue: property CharWeight takes a value of type float, got string");
    expectThrow<css::beans::UnknownPropertyException>([&] { setProp(sheet, u"Bogus", Any(1)); },
                                                      u"setPropertyValue: unknown property Bogus");
    expectThrow<css::beans::PropertyVetoException>([&] { setProp(sheet, u"FormulaResultType2", Any(sal_Int32(1))); },
                                                   u"setPropertyValue: property FormulaResultType2 is read-only");
}

TEST_F(SheetModelTest, BordersGoOnTheBlockEdgesByValidity) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    css::table::BorderLine2 red{0xFF0000, 0, 35, 0, 0, 35};
    css::table::BorderLine2 blue{0x0000FF, 0, 35, 0, 0, 35};
    css::table::TableBorder2 all;
    all.TopLine = all.BottomLine = all.LeftLine = all.RightLine = red;
    all.IsTopLineValid = all.IsBottomLineValid = all.IsLeftLineValid = all.IsRightLineValid = true;
    setProp(sheet->getCellRangeByName(u"B2:C3"), u"TableBorder2", Any(all));
    css::table::TableBorder2 top;
    top.TopLine = blue;
    top.IsTopLineValid = true;
    setProp(sheet->getCellRangeByName(u"B2:C3"), u"TableBorder2", Any(top));
    auto line = [&](const char16_t* cell, const char16_t* side) {
        return prop(doc.cell(u"Sheet1", OUString(std::u16string_view(cell))), side).get<css::table::BorderLine2>();
    };
    EXPECT_TRUE(line(u"B2", u"TopBorder") == blue);
    EXPECT_TRUE(line(u"C2", u"TopBorder") == blue);
    EXPECT_TRUE(line(u"B2", u"LeftBorder") == red);
    EXPECT_TRUE(line(u"C3", u"BottomBorder") == red);
    EXPECT_TRUE(line(u"C3", u"RightBorder") == red);
    EXPECT_TRUE(line(u"B3", u"TopBorder") == css::table::BorderLine2());
    EXPECT_TRUE(line(u"B2", u"RightBorder") == css::table::BorderLine2());
}

TEST_F(SheetModelTest, NumberFormatsParseAndShowNumbers) {
    SpreadsheetBuilder doc;
    Reference<css::util::XNumberFormats> formats(
        Reference<css::util::XNumberFormatsSupplier>(doc.model(), UNO_QUERY_THROW)->getNumberFormats());
    const css::lang::Locale none;
    EXPECT_EQ(formats->queryKey(u"0.00", none, false), 2);
    EXPECT_EQ(formats->queryKey(u"#,##0.000", none, false), -1);
    sal_Int32 key = formats->addNew(u"#,##0.000", none);
    EXPECT_GE(key, 100);
    EXPECT_EQ(formats->queryKey(u"#,##0.000", none, false), key);
    expectThrow<css::container::ElementExistException>([&] { formats->addNew(u"0.00", none); },
                                                       u"addNew: the format code 0.00 already has the key 2");
    struct Bad {
        const char16_t* code;
        const char16_t* why;
    };
    const Bad bad[] = {{u"", u"the code is empty"},
                       {u"0.00\"", u"a quoted literal is not closed"},
                       {u"[Red0", u"a \"[\" is not closed"},
                       {u"[Purple]0", u"unknown bracket [Purple]"},
                       {u"0.0.0", u"two decimal points"},
                       {u"0E+", u"an exponent without digits"},
                       {u"0;0;0;@;0", u"more than four sections"},
                       {u"0 x", u"unexpected \"x\""},
                       {u"0\\", u"\\ at the end of a section"},
                       {u"@0", u"digit placeholders mixed with \"@\""}};
    for (const Bad& b : bad)
        expectThrow<css::util::MalformedNumberFormatException>(
            [&] { formats->addNew(OUString(std::u16string_view(b.code)), none); },
            u"addNew: malformed format code " + std::u16string(b.code) + u": " + std::u16string(b.why));
    struct Shown {
        const char16_t* code;
        double value;
        const char16_t* text;
    };
    const Shown shownCases[] = {
        {u"0.00", 3.14159, u"3.14"},
        {u"#,##0", 1234567.8, u"1,234,568"},
        {u"#,##0.00;[Red]-#,##0.00", -1234.5, u"-1,234.50"},
        {u"0%", 0.256, u"26%"},
        {u"0.00E+00", 12345, u"1.23E+04"},
        {u"\"USD \"0.00", 5, u"USD 5.00"},
        {u"[>=100]\"big\";\"small\"", 150, u"big"},
        {u"[>=100]\"big\";\"small\"", 5, u"small"},
        {u"YYYY-MM-DD", 45000, u"2023-03-15"},
        {u"HH:MM:SS", 0.75, u"18:00:00"},
        {u"D MMMM YYYY", 45000.5, u"15 March 2023"},
        {u"0;(0);\"zero\"", 0, u"zero"},
        {u"0;(0)", -3, u"(3)"},
        {u"#.##", 0.5, u".5"},
    };
    auto cell = doc.cell(u"Sheet1", u"A1");
    for (const Shown& s : shownCases) {
        SCOPED_TRACE(OUString(std::u16string_view(s.code)));
        OUString code(std::u16string_view(s.code));
        sal_Int32 k = formats->queryKey(code, none, true);
        if (k < 0) k = formats->addNew(code, none);
        setProp(cell, u"NumberFormat", Any(k));
        cell->setValue(s.value);
        EXPECT_EQ(shown(cell), OUString(std::u16string_view(s.text)));
    }
}

TEST_F(SheetModelTest, ClearingRemovesWhatTheFlagsName) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1", u"text", u"=A1"}});
    auto sheet = doc.sheetNamed(u"Sheet1");
    setProp(sheet, u"CharWeight", Any(150.0f));
    Reference<css::table::XColumnRowRange> lines(sheet, UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> column(lines->getColumns()->getByIndex(0), UNO_QUERY_THROW);
    column->setPropertyValue(u"Width", Any(sal_Int32(5000)));
    Reference<css::sheet::XSheetOperation>(sheet, UNO_QUERY_THROW)->clearContents(css::sheet::CellFlags::STRING);
    EXPECT_EQ(doc.cell(u"Sheet1", u"B1")->getType(), css::table::CellContentType::EMPTY);
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getType(), css::table::CellContentType::VALUE);
    Reference<css::sheet::XSheetOperation>(sheet, UNO_QUERY_THROW)->clearContents(1023);
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getType(), css::table::CellContentType::EMPTY);
    EXPECT_EQ(doc.cell(u"Sheet1", u"C1")->getType(), css::table::CellContentType::EMPTY);
    EXPECT_EQ(prop(doc.cell(u"Sheet1", u"A1"), u"CharWeight").get<float>(), 100.0f);
    EXPECT_EQ(column->getPropertyValue(u"Width").get<sal_Int32>(), 5000);
}

TEST_F(SheetModelTest, RowsAndColumnsHaveSizesThatFitTheirContent) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    Reference<css::table::XColumnRowRange> lines(sheet, UNO_QUERY_THROW);
    EXPECT_EQ(lines->getRows()->getCount(), 1048576);
    EXPECT_EQ(lines->getColumns()->getCount(), 16384);
    Reference<css::beans::XPropertySet> row(lines->getRows()->getByIndex(1), UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> column(lines->getColumns()->getByIndex(1), UNO_QUERY_THROW);
    EXPECT_EQ(row->getPropertyValue(u"Height").get<sal_Int32>(), 452);
    EXPECT_EQ(column->getPropertyValue(u"Width").get<sal_Int32>(), 2258);
    doc.cells(u"Sheet1", u"B2", {{u"twenty characters..."}});
    doc.cell(u"Sheet1", u"B3")->setFormula(u"=\"two\"&\"\n\"&\"lines\"");
    column->setPropertyValue(u"OptimalWidth", Any(true));
    EXPECT_EQ(column->getPropertyValue(u"Width").get<sal_Int32>(), 20 * 200 + 200);
    Reference<css::beans::XPropertySet> third(lines->getRows()->getByIndex(2), UNO_QUERY_THROW);
    third->setPropertyValue(u"OptimalHeight", Any(true));
    EXPECT_EQ(third->getPropertyValue(u"Height").get<sal_Int32>(), 2 * 452);
    row->setPropertyValue(u"Height", Any(sal_Int32(1000)));
    row->setPropertyValue(u"IsVisible", Any(false));
    EXPECT_EQ(row->getPropertyValue(u"Height").get<sal_Int32>(), 1000);
    EXPECT_FALSE(row->getPropertyValue(u"IsVisible").get<bool>());
    expectThrow<css::lang::IndexOutOfBoundsException>(
        [&] { lines->getRows()->getByIndex(1048576); }, u"getByIndex: there is no row 1048576 in a range of 1048576 rows");
}

TEST_F(SheetModelTest, TheViewSelectsBlocksAndFreezesPanes) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two");
    auto view = doc.model()->getCurrentController();
    Reference<css::sheet::XSpreadsheetView> sheetView(view, UNO_QUERY_THROW);
    Reference<css::view::XSelectionSupplier> selection(view, UNO_QUERY_THROW);
    EXPECT_TRUE(sheetView->getActiveSheet() == doc.sheetNamed(u"Sheet1"));
    Reference<css::table::XCellRange> a1(selection->getSelection(), UNO_QUERY);
    ASSERT_TRUE(a1.is());
    EXPECT_TRUE((address(a1) == css::table::CellRangeAddress{0, 0, 0, 0, 0}));
    doc.select(u"Two", u"B2:C3");
    EXPECT_TRUE(sheetView->getActiveSheet() == doc.sheetNamed(u"Two"));
    doc.selectBlocks({{u"Sheet1", u"A1:A2"}, {u"Two", u"D4"}});
    Any multi = selection->getSelection();
    EXPECT_FALSE(Reference<css::table::XCellRange>(multi, UNO_QUERY).is());
    Reference<css::container::XIndexAccess> blocks(multi, UNO_QUERY_THROW);
    ASSERT_EQ(blocks->getCount(), 2);
    EXPECT_TRUE((address(Reference<::zel::uno::XInterface>(blocks->getByIndex(1), UNO_QUERY)) ==
                 css::table::CellRangeAddress{1, 3, 3, 3, 3}));
    EXPECT_TRUE(sheetView->getActiveSheet() == doc.sheetNamed(u"Sheet1"));
    Reference<css::sheet::XViewFreezable> freeze(view, UNO_QUERY_THROW);
    Reference<css::sheet::XViewSplitable> split(view, UNO_QUERY_THROW);
    EXPECT_FALSE(freeze->hasFrozenPanes());
    doc.freeze(2, 3);
    EXPECT_TRUE(freeze->hasFrozenPanes());
    EXPECT_EQ(split->getSplitColumn(), 2);
    EXPECT_EQ(split->getSplitRow(), 3);
    expectThrow<css::lang::IllegalArgumentException>([&] { selection->select(Any(sal_Int32(1))); },
                                                     u"select: expected an object, got long");
}

TEST_F(SheetModelTest, TitlesAndLocations) {
    SpreadsheetBuilder unsaved;
    OUString title = Reference<css::frame::XTitle>(unsaved.model(), UNO_QUERY_THROW)->getTitle();
    EXPECT_TRUE(title.startsWith(u"Untitled ")) << title;
    EXPECT_TRUE(unsaved.model()->getURL().isEmpty());
    SpreadsheetBuilder saved(u"file:///tmp/Budget%202024.ods");
    EXPECT_EQ(saved.model()->getURL(), OUString(u"file:///tmp/Budget%202024.ods"));
    EXPECT_EQ(Reference<css::frame::XTitle>(saved.model(), UNO_QUERY_THROW)->getTitle(), OUString(u"Budget 2024.ods"));
}

TEST_F(SheetModelTest, ADisposedDocumentRefusesEveryCall) {
    SpreadsheetBuilder doc;
    auto sheet = doc.sheetNamed(u"Sheet1");
    auto cell = doc.cell(u"Sheet1", u"A1");
    doc.model()->dispose();
    expectThrow<css::lang::DisposedException>([&] { cell->getValue(); },
                                              u"getValue: the object is no longer part of the document");
    expectThrow<css::lang::DisposedException>([&] { sheet->getCellByPosition(0, 0); },
                                              u"getCellByPosition: the object is no longer part of the document");
    expectThrow<css::lang::DisposedException>(
        [&] { Reference<css::sheet::XSpreadsheetDocument>(doc.model(), UNO_QUERY_THROW)->getSheets(); },
        u"getSheets: the object is no longer part of the document");
}

} // namespace
