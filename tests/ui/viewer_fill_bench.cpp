// How long the main window's "Main Flash" viewer takes to show a full main
// image (4,198,400 bytes, 262,400 rows): setting the snapshot, and setting it
// plus painting the first page. Run by hand; nothing asserts on the times.
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

void SetFullSnapshot(benchmark::State& state, bool paint) {
  TMemoryViewModel& model = window->HexViewerModel();
  for (auto _ : state) {
    state.PauseTiming();
    model.Clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    model.SetSnapshot(0, MemoryImages.MainFlashImage);
    if (paint) window->HexViewer->viewport()->repaint();
  }
  state.counters["rows"] = model.rowCount();
}

void SetSnapshotOnly(benchmark::State& state) { SetFullSnapshot(state, false); }
void SetSnapshotAndPaintFirstPage(benchmark::State& state) { SetFullSnapshot(state, true); }

BENCHMARK(SetSnapshotOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(SetSnapshotAndPaintFirstPage)->Unit(benchmark::kMillisecond);

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
  mainWindow.ViewPageCtrl->setCurrentWidget(mainWindow.TabSheetFlash);
  QCoreApplication::processEvents();
  window = &mainWindow;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
