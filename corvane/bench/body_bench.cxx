// The cost of walking a long body per paragraph: the text of the whole body
// (getNumChildren, getChild(i) and each child's getText() inside one walk),
// getChildIndex of the last child, and one getChild at the end.  The
// per_paragraph counter should stay flat from 1,000 to 100,000 paragraphs.
//
//   build/release/benchmarks/corvane_body_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include <document/document.hxx>

#include <com/qam/vexo/text/text.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>
#include <rtl/ustrbuf.hxx>

#include <benchmark/benchmark.h>

namespace {

using ::zel::uno::Reference;

// A document of n paragraphs of ordinary length, wrapped for scripts.
struct LongDocument {
    explicit LongDocument(sal_Int32 paragraphs) {
        officehost::initProcessContext();
        model = officehost::openTextDocument();
        rtl::OUStringBuffer text;
        for (sal_Int32 i = 0; i < paragraphs; ++i) {
            if (i > 0) text.append(u'\n');
            text.append(u"Paragraph number " + OUString::number(i) + u" of a long document, with some words in it.");
        }
        Reference<::com::qam::vexo::text::XTextDocument>(model, ::zel::uno::UNO_QUERY_THROW)
            ->getText()
            ->setString(text.makeStringAndClear());
        body = corvane::detail::createDocument(model)->getBody();
    }
    ~LongDocument() {
        body.clear();
        model.clear();
        officehost::shutdownProcessContext();
    }
    Reference<::com::qam::vexo::frame::XModel> model;
    Reference<corvane::XBody> body;
};

void perParagraph(benchmark::State& state) {
    state.counters["per_paragraph"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                         benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

void BM_WalkChildrenOneByOne(benchmark::State& state) {
    LongDocument doc(static_cast<sal_Int32>(state.range(0)));
    for (auto _ : state) {
        sal_Int32 length = 0;
        for (sal_Int32 i = 0; i < doc.body->getNumChildren(); ++i) length += doc.body->getChild(i)->getText().getLength();
        benchmark::DoNotOptimize(length);
    }
    perParagraph(state);
}

void BM_BodyText(benchmark::State& state) {
    LongDocument doc(static_cast<sal_Int32>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(doc.body->asText()->getText().getLength());
    perParagraph(state);
}

void BM_ChildIndexOfTheLastChild(benchmark::State& state) {
    LongDocument doc(static_cast<sal_Int32>(state.range(0)));
    const Reference<corvane::XElement> last = doc.body->getChild(static_cast<sal_Int32>(state.range(0)) - 1);
    for (auto _ : state) benchmark::DoNotOptimize(doc.body->getChildIndex(last));
    perParagraph(state);
}

// One getChild in a document unchanged since the body last read its children.
void BM_OneGetChild(benchmark::State& state) {
    LongDocument doc(static_cast<sal_Int32>(state.range(0)));
    const sal_Int32 last = static_cast<sal_Int32>(state.range(0)) - 1;
    for (auto _ : state) benchmark::DoNotOptimize(doc.body->getChild(last)->getText().getLength());
    perParagraph(state);
}

BENCHMARK(BM_WalkChildrenOneByOne)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BodyText)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChildIndexOfTheLastChild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneGetChild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
