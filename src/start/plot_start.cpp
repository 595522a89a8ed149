#include "start/plot_start.h"

#include <utility>
#include <vector>

#include "engine/figure_range.h"
#include "reports/estimate_report.h"
#include "reports/file_identity.h"
#include "reports/report_file.h"
#include "reports/stock_report.h"

namespace quorvel {

namespace {

// A report name that is a link to the tally itself would write the report over the tally.
void refuse_the_tally(const std::string& tally, const ReportPaths& reports) {
  FileIdentities identities;
  const FileIdentity read = identities.of(tally);
  for (const std::string& report : {reports.stock, reports.estimate})
    if (same_file(identities.of(report), read))
      throw Refused({.kind = RefusalKind::output_is_input,
                     .file = report,
                     .found = tally,
                     .output = Output::report});
}

// Both reports wanted are prepared and put in place together, or neither is.
void write_reports(StartOutcome& outcome, const StartRequest& request, const std::string& tally,
                   bool stock_wanted, bool estimate_wanted) {
  if (!stock_wanted && !estimate_wanted) return;
  const char separator = request.decimal_separator;
  try {
    if (!tally.empty()) refuse_the_tally(tally, request.report_paths);
    std::vector<PendingReport> pending;
    pending.reserve(2);
    if (stock_wanted)
      pending.emplace_back(request.report_paths.stock,
                           stock_report_text(outcome.model1, separator));
    if (estimate_wanted)
      pending.emplace_back(request.report_paths.estimate,
                           estimate_report_text(outcome.runs->model2, separator));
    std::vector<PendingReport*> reports;
    for (PendingReport& report : pending) reports.push_back(&report);
    commit_together(reports);
    outcome.reports_written = true;
  } catch (const Refused& refused) {
    outcome.reports_refused = refused.refusal();
  }
}

}  // namespace

StartOutcome perform_start(const Inventory& inventory, const StartRequest& request,
                           StartHost& host) {
  check_parameters(request.parameters);
  StartOutcome outcome;
  if ((outcome.not_computed = not_computed_for(inventory))) {
    outcome.model1 = compute_model1(inventory, request.parameters);
    check_figure_range(outcome.model1, inventory.source);
    host.model1_ready(outcome.model1);
    return outcome;
  }
  outcome.expectation = expected_model2(inventory, request.parameters, request.wind);
  check_figure_range(outcome.expectation, inventory.source);
  host.expectation_ready(outcome.expectation);
  if (!request.runs) {
    outcome.model1 = compute_model1(inventory, request.parameters);
    check_figure_range(outcome.model1, inventory.source);
    host.model1_ready(outcome.model1);
    return outcome;
  }
  // The stock report follows the report box as it stands before the runs (nothing is handled
  // between here and model 1), the estimate report as it stands after them.
  const bool stock_wanted = host.reports_wanted();
  const StartInputs inputs{request.parameters, request.seed, request.max_attempts_per_record};
  outcome.runs = run_start(inventory, inputs, host);
  outcome.model1 = outcome.runs->model1;
  write_reports(outcome, request, inventory.source, stock_wanted, host.reports_wanted());
  return outcome;
}

}  // namespace quorvel
