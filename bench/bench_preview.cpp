// The rename preview with a large plan: the time from building the dialog to
// its first painted frame, against the one second a user should wait at most.
//
//   bench_preview [rows]     (default 100000; run offscreen without a display)
#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/language.h"
#include "bench_support.h"
#include "ui/renamepreview.h"

using namespace tandrel;
namespace bench = tandrel::bench;

int main(int argc, char** argv) {
    bench::programName = "bench_preview";
    if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    if (rows <= 0) return bench::Fail("usage: bench_preview [rows]");
    QApplication app(argc, argv);

    RenamePlan plan;
    plan.rows.reserve(static_cast<std::size_t>(rows));
    for (long i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        const PlanStatus status = i % 50 == 0 ? PlanStatus::TargetExists
                                  : i % 7 == 0 ? PlanStatus::Unchanged
                                               : PlanStatus::WillRename;
        AddPlanRow(plan, "/music/dir" + std::to_string(i / 1000), "\xCF\xE5\xF1\xED\xFF " + n + ".mp3",
                   "Pesnya " + n + ".mp3", status);
    }

    const auto start = bench::Clock::now();
    TRenamePreviewForm form(plan, kEnglish);
    form.show();
    form.tvPlan->grab();  // the first frame, painted as the window would paint it
    QApplication::processEvents();
    const double opened = bench::Seconds(start);

    const auto filterStart = bench::Clock::now();
    form.cbFilter->setCurrentIndex(RenamePlanModel::OnlyProblems);
    form.tvPlan->grab();
    const double filtered = bench::Seconds(filterStart);

    bench::Report("open the preview", opened, rows);
    bench::Report("filter to the problems", filtered, rows);
    bench::Result("preview_open", opened, 1.0, "1-second-goal");
    return 0;
}
