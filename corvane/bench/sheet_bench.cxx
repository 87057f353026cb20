// Spreadsheet benchmarks through the scripting model on the host stand-in:
// bulk values each way, recalculation after one change, and formatting whole
// columns and sheets.
//
//   build/release/benchmarks/sheet_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <spreadsheet/spreadsheet.hxx>

#include <officehost/desktop.hxx>
#include <officehost/services.hxx>
#include <officehost/sheetcounters.hxx>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace corvane;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

constexpr sal_Int32 kRows = 1000;
constexpr sal_Int32 kColumns = 100;

// A fresh host with one open spreadsheet for the life of a benchmark.
struct Host {
    Host() {
        officehost::initProcessContext();
        model = officehost::openSpreadsheetDocument();
        sheet = detail::createSpreadsheet(model)->getActiveSheet();
    }
    ~Host() {
        sheet.clear();
        model.clear();
        officehost::shutdownProcessContext();
    }
    Reference<::com::qam::vexo::frame::XModel> model;
    Reference<XSheet> sheet;
};

Sequence<Sequence<Any>> matrix() {
    Sequence<Sequence<Any>> rows(kRows);
    for (sal_Int32 r = 0; r < kRows; ++r) {
        Sequence<Any> row(kColumns);
        for (sal_Int32 c = 0; c < kColumns; ++c) row.getArray()[c] = Any(double(r * kColumns + c));
        rows.getArray()[r] = row;
    }
    return rows;
}

void BM_SetValues(benchmark::State& state) {
    Host host;
    Reference<XRange> block = host.sheet->getRangeAt(1, 1, kRows, kColumns);
    const auto values = matrix();
    for (auto _ : state) block->setValues(values);
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
    state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * kRows * kColumns, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SetValues)->Unit(benchmark::kMillisecond);

void BM_GetValues(benchmark::State& state) {
    Host host;
    Reference<XRange> block = host.sheet->getRangeAt(1, 1, kRows, kColumns);
    block->setValues(matrix());
    for (auto _ : state) benchmark::DoNotOptimize(block->getValues());
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
    state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * kRows * kColumns, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetValues)->Unit(benchmark::kMillisecond);

// A sum over 10,000 cells of column A, and 10,000 formulas in column C that do
// not read column A: one input changes, the sum is read again.
void BM_SumRecalculatesAfterOneChange(benchmark::State& state) {
    Host host;
    constexpr sal_Int32 n = 10000;
    Sequence<Sequence<Any>> column(n), unrelated(n);
    for (sal_Int32 r = 0; r < n; ++r) {
        column.getArray()[r] = Sequence<Any>{Any(1.0)};
        unrelated.getArray()[r] = Sequence<Any>{Any(u"=D" + OUString::number(r + 1) + u"*2"), Any(double(r))};
    }
    host.sheet->getRangeAt(1, 1, n, 1)->setValues(column);
    host.sheet->getRangeAt(1, 3, n, 2)->setValues(unrelated);
    Reference<XRange> sum = host.sheet->getRangeAtCell(1, 2)->setValue(Any(OUString(u"=SUM(A1:A10000)")));
    Reference<XRange> input = host.sheet->getRangeAtCell(5000, 1);
    sum->getValue();
    host.sheet->getRangeAt(1, 3, n, 1)->getValues();  // every formula calculated once
    officehost::resetSheetCalculationCounts(host.model);
    double v = 0;
    for (auto _ : state) {
        input->setValue(Any(v += 1));
        benchmark::DoNotOptimize(sum->getValue());
    }
    const auto counts = officehost::sheetCalculationCounts(host.model);
    state.counters["formulas_evaluated_per_change"] = double(counts.formulasEvaluated) / double(state.iterations());
    state.counters["cells_read_per_change"] = double(counts.cellsRead) / double(state.iterations());
    state.counters["formulas_in_sheet"] = n + 1;
}
BENCHMARK(BM_SumRecalculatesAfterOneChange)->Unit(benchmark::kMicrosecond);

long maxResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bold on a whole column, then on the whole sheet, again and again: the memory
// the process holds does not grow with the cells covered or the repetitions.
void BM_BoldOnWholeColumnAndSheet(benchmark::State& state) {
    Host host;
    Reference<XRange> column = host.sheet->getRange(u"B1:B1048576");
    Reference<XRange> all = host.sheet->getRange(u"A1:XFD1048576");
    column->setFontWeight(u"bold");
    all->setFontWeight(u"bold");
    const long before = maxResidentKb();
    for (auto _ : state) {
        column->setFontWeight(u"bold");
        all->setFontWeight(u"normal");
    }
    state.counters["max_rss_growth_kB"] = double(maxResidentKb() - before);
    state.counters["cells_covered_per_iteration"] = 1048576.0 + 1048576.0 * 16384.0;
}
BENCHMARK(BM_BoldOnWholeColumnAndSheet)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
