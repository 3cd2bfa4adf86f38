// The link checklist reading a 20 MB page of about 150,000 links, offscreen (target in a Release
// build on two cores: the page read and listed within about two seconds, the list sorted and painted
// within a second; no row is a widget of its own).

#include "FakePrompts.h"
#include "QtBenchMain.h"
#include "importexport/ImpHtmlDlg.h"
#include "importexport/LinkListModel.h"

#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr std::size_t kPageBytes = 20u * 1024 * 1024;

struct TBench {
    TBench() {
        Path = Dir.filePath(QStringLiteral("big.html"));
        std::ofstream out(Path.toStdString(), std::ios::binary);
        out << "<html><head><title>links</title></head><body>\r\n";
        std::size_t written = 0;
        for (int i = 0; written < kPageBytes; ++i) {
            const std::string n = std::to_string(i);
            const std::string line = "<p>Entry " + n + ": <a href=\"https://www.example.com/page/" + n + "?q=" + n +
                                     "\">ページ &amp; number " + n + "</a> text around the link to pad it.</p>\r\n";
            out << line;
            written += line.size();
        }
        out << "</body></html>\r\n";
        out.close();
        Dialog = std::make_unique<hv::TImpHtmlDlg>(nullptr, Prompts, nullptr);
        Dialog->resize(640, 400);
        Dialog->show();
        QApplication::processEvents();
    }
    QTemporaryDir Dir;
    QString Path;
    hv::test::TFakePrompts Prompts;
    std::unique_ptr<hv::TImpHtmlDlg> Dialog;
};

TBench& Bench() {
    static TBench* bench = new TBench; // freed with the process: the dialog needs the application
    return *bench;
}

void BM_ReadPage(benchmark::State& state) {
    TBench& bench = Bench();
    for (auto _ : state) {
        bench.Dialog->OpenFiles({bench.Path});
        bench.Dialog->List()->viewport()->repaint();
    }
    state.counters["rows"] = bench.Dialog->Model()->rowCount();
}

void BM_SortByName(benchmark::State& state) {
    TBench& bench = Bench();
    if (bench.Dialog->Model()->rowCount() == 0) {
        bench.Dialog->OpenFiles({bench.Path});
    }
    bool byName = true;
    for (auto _ : state) {
        bench.Dialog->Sort(byName ? hv::TLinkSort::ByName : hv::TLinkSort::ByImportOrder);
        bench.Dialog->List()->viewport()->repaint();
        byName = !byName;
    }
}

} // namespace

BENCHMARK(BM_ReadPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return hv::bench::RunWidgetBenchmarks(argc, argv);
}
