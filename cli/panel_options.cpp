#include "cli/panel_options.h"

#include "cli/argument_checks.h"
#include "cli/kind_names.h"

namespace drawfollow::cli {

namespace {

// What the window's base value box takes: four characters of digits and "-".
constexpr int kManualValueLowest = -999;
constexpr int kManualValueHighest = 9999;
// The window's 组合位数 list.
constexpr int kLargestCombination = 6;

}  // namespace

void addPanelOptions(CLI::App* command, PanelOptions& o) {
    command->add_option("--kind", o.kind, "search kind")->check(oneOf(keysOf(kKindNames)))->capture_default_str();
    command->add_option("--result", o.result, "result kind tallied")
        ->check(oneOf(keysOf(kKindNames)))
        ->capture_default_str();
    command->add_option("--scope", o.scope, "positions tallied: all 平特, regular 平码, special 特码")
        ->check(oneOf(keysOf(kScopeNames)))
        ->capture_default_str();
    auto* fixed = command->add_flag("--fixed", o.fixed, "fixed positions 固定位");
    command->add_flag("--free", o.free, "free positions 自由位 (the default)")->excludes(fixed);
    command->add_option("--count-special", o.countSpecial, "free positions count the special number (自由位计特码)")
        ->check(oneOf({"yes", "no"}))
        ->capture_default_str();
    command->add_option("--back", o.back, "前期 mode with gap N (1..9); without it 上期")->transform(decimal());
    command->add_option("--positions", o.positions, "ticked positions, e.g. 1,2,8")
        ->delimiter(',')
        ->transform(decimal(1, kPositions));
    command->add_option("--first", o.first, "first issue of the range (default: first stored + 1, or + N)");
    addAttributeOptions(command, o.attributes);
}

void addBaseOptions(CLI::App* command, PanelOptions& o) {
    auto* values = command->add_option("--values", o.values, "the eight base values as typed (手动输入号)")
                       ->delimiter(',')
                       ->expected(kPositions)
                       ->transform(decimal(kManualValueLowest, kManualValueHighest));
    auto* verify = command->add_option("--verify", o.verify, "base: the stored draw before this issue (验证指定期)")
                       ->transform(issue())
                       ->excludes(values);
    command->add_flag("--only-before", o.onlyBefore, "end the range before the verified issue (仅检索该期前)")
        ->needs(verify);
    command->add_option("--last", o.last, "last issue of the range (default: the newest)");
}

void addCombinationOptions(CLI::App* command, PanelOptions& o) {
    command->add_option("--size", o.size, "positions per combination (组合位数), 1..6")
        ->transform(decimal(1, kLargestCombination))
        ->capture_default_str();
    command->add_option("--pool", o.pool, "positions combined: regular 1..7 (平码) or all 1..8 (平特)")
        ->check(oneOf({"regular", "all"}))
        ->capture_default_str();
}

SearchPanel panelOf(CliContext& context, const PanelOptions& o, bool combination) {
    SearchPanel panel;
    SearchSettings& in = panel.options;
    in.searchKind = kKindNames.at(o.kind);
    in.resultKind = kKindNames.at(o.result);
    in.scope = kScopeNames.at(o.scope);
    in.freePositions = !o.fixed;
    in.countSpecial = o.countSpecial == "yes";
    in.previousIssue = !o.back;
    in.gap = o.back.value_or(2);
    for (int p : o.positions)
        in.ticked[p - 1] = true;
    in.combinationSize = o.size;
    in.combinationRegularOnly = combination && o.pool == "regular";
    // Stored codes are named and listed as the rows were derived.
    const DerivationSettings derivation = context.derivation(o.attributes);
    in.codes = derivation.codes;
    in.zodiacOffset = derivation.codes.offset();
    in.segmentOffset = derivation.segmentOffset;

    panel.combination = combination;
    if (!o.values.empty()) {
        panel.source = BaseSource::Manual;
        std::copy(o.values.begin(), o.values.end(), panel.manualValues.begin());
    } else if (o.verify) {
        panel.source = BaseSource::Verification;
        panel.verifiedIssue = std::to_string(*o.verify);
        panel.onlyBeforeVerified = o.onlyBefore;
    }
    panel.firstIssue = o.first;
    panel.lastIssue = o.last;
    return panel;
}

}  // namespace drawfollow::cli
