// How long the main window's "Main Flash" viewer takes to show a full main
// image (4,198,400 bytes, 262,400 rows): the fill, and the fill plus painting
// the first page. Run by hand; nothing asserts on the times.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "data/program_state.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"

namespace {

TGenMFrmARM* window = nullptr;

void FillFullImage(benchmark::State& state, bool paint) {
  TMemoryViewModel& model = window->HexViewerModel();
  for (auto _ : state) {
    state.PauseTiming();
    model.Clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window->FillHexViewer(SelectedChip.MainStart, SelectedChip.MainEnd);
    if (paint) window->HexViewer->viewport()->repaint();
  }
  state.counters["rows"] = model.rowCount();
}

void FillOnly(benchmark::State& state) { FillFullImage(state, false); }
void FillAndPaintFirstPage(benchmark::State& state) { FillFullImage(state, true); }

BENCHMARK(FillOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(FillAndPaintFirstPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir folder;
  ResetProgramState();
  const std::string dir = folder.path().toStdString() + "/";
  // No serial ports: nothing of the machine's is touched.
  TGenMFrmARM mainWindow(TWindowStartup{dir, {}, {dir + "sys", dir + "dev"}});
  mainWindow.show();
  // A main area as large as the image.
  SelectedChip.MainStart = 0;
  SelectedChip.MainSize = kMainFlashImageSize;
  SelectedChip.MainEnd = kMainFlashImageSize - 1;
  mainWindow.ViewPageCtrl->setCurrentWidget(mainWindow.TabSheetFlash);
  QCoreApplication::processEvents();
  window = &mainWindow;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
