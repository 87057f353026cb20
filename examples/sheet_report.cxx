// corvane-sheet-report: starts the host stand-in, opens a spreadsheet, gets the
// scripting factory from libcorvane.so the way the host's service manager does,
// fills and formats a small sales table with totals, and prints the sheet; then
// puts a chart of the table on the sheet and prints a pivot table of orders.
//
//   build/dev/program/corvane-sheet-report

#include <corvane/XFactory.hxx>

#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include <iomanip>
#include <iostream>
#include <string>

namespace {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using namespace corvane;

Sequence<Any> row(std::initializer_list<Any> cells) { return Sequence<Any>(cells); }
Any text(const char16_t* s) { return Any(OUString(std::u16string_view(s))); }

std::string show(const Any& value) {
    if (!value.hasValue()) return "";
    if (OUString s; value >>= s) return s.toUtf8().getStr();
    double d = value.get<double>();
    return OUString::number(d).toUtf8().getStr();
}

int run() {
    officehost::openSpreadsheetDocument();

    OString error;
    cppu::ComponentConstructorFunction entry =
        cppu::loadComponentConstructor("libcorvane.so", "corvane_Tarn_get_implementation", &error);
    if (!entry) {
        std::cerr << "cannot load libcorvane.so: " << error.getStr() << "\n";
        return 1;
    }
    Reference<::zel::uno::XInterface> service(entry(comphelper::getProcessComponentContext().get(), {}),
                                              ::zel::uno::SAL_NO_ACQUIRE);
    Reference<XFactory> factory(service, ::zel::uno::UNO_QUERY_THROW);

    Reference<XSpreadsheet> book = factory->getActiveSpreadsheet();
    Reference<XSheet> sheet = book->insertSheet(u"Sales");
    sheet->getRange(u"A1:D5")->setValues(Sequence<Sequence<Any>>{
        row({text(u"Region"), text(u"Q1"), text(u"Q2"), text(u"Total")}),
        row({text(u"North"), Any(1200.5), Any(1340.0), text(u"=SUM(B2:C2)")}),
        row({text(u"South"), Any(980.0), Any(1105.25), text(u"=SUM(B3:C3)")}),
        row({text(u"West"), Any(sal_Int32(1500)), Any(1620.0), text(u"=SUM(B4:C4)")}),
        row({text(u"All"), text(u"=SUM(B2:B4)"), text(u"=SUM(C2:C4)"), text(u"=SUM(D2:D4)")}),
    });
    sheet->getRange(u"A1:D1")->setFontWeight(u"bold")->setBackgroundColor(u"#DDEEFF");
    sheet->getRange(u"A5:D5")->setFontWeight(u"bold")->setBorder(true, false, false, false, u"black");
    sheet->getRange(u"B2:D5")->setNumberFormat(u"#,##0.00");
    sheet->getRange(u"A2:A4")->setFontStyle(u"italic");
    sheet->autoResizeColumns(1, 4);
    sheet->getRange(u"B3")->setValue(Any(1000.0));  // the totals follow

    std::cout << "document " << book->getName() << ", sheets:";
    for (const auto& s : book->getSheets()) std::cout << " " << s->getName();
    std::cout << "\n" << sheet->getName() << " uses rows 1-" << sheet->getLastRow() << ", columns 1-"
              << sheet->getLastColumn() << "\n";
    const auto values = sheet->getDataRange()->getValues();
    for (const auto& r : values) {
        for (const auto& v : r) std::cout << std::left << std::setw(10) << show(v);
        std::cout << "\n";
    }

    // A bar chart of the quarters, 8 cm wide, below the table.
    Reference<XChart> chart = sheet->insertChart({sheet->getRange(u"A1:C4")}, 7, 1, 226.77, 141.73, true, true);
    chart->setChartType(u"bar")->setTitle(u"Sales by quarter")->setLegendPosition(u"bottom");
    std::cout << "charts on " << sheet->getName() << ":";
    for (const auto& c : sheet->getCharts()) std::cout << " " << c->getName();
    std::cout << "\n";

    // Orders summed by region and product.
    Reference<XSheet> orders = book->insertSheet(u"Orders");
    orders->getRange(u"A1:C7")->setValues(Sequence<Sequence<Any>>{
        row({text(u"Region"), text(u"Product"), text(u"Amount")}),
        row({text(u"North"), text(u"Tea"), Any(10.0)}),
        row({text(u"South"), text(u"Tea"), Any(5.0)}),
        row({text(u"North"), text(u"Coffee"), Any(7.0)}),
        row({text(u"East"), text(u"Coffee"), Any(2.0)}),
        row({text(u"South"), text(u"Coffee"), Any(1.0)}),
        row({text(u"North"), text(u"Tea"), Any(3.0)}),
    });
    Reference<XSheet> summary = book->insertSheet(u"Summary");
    Reference<XPivotTable> pivot = summary->getRange(u"A1")->createPivotTable(orders->getRange(u"A1:C7"));
    pivot->addRowGroup(1)->addColumnGroup(2)->addPivotValue(3, u"sum");
    std::cout << pivot->getName() << " on " << summary->getName() << ":\n";
    for (const auto& r : summary->getDataRange()->getValues()) {
        for (const auto& v : r) std::cout << std::left << std::setw(10) << show(v);
        std::cout << "\n";
    }
    return 0;
}

} // namespace

int main() {
    officehost::initProcessContext();
    int status = 1;
    try {
        status = run();
    } catch (const ::zel::uno::Exception& e) {
        std::cerr << "corvane-sheet-report: " << e.Message << "\n";
    }
    officehost::shutdownProcessContext();
    return status;
}
