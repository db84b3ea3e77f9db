// shape: one shape measure (形态) of the draws of a range, beside what chance gives it.
#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "cli/kind_names.h"
#include "cli/shape_output.h"

#include <iostream>
#include <map>
#include <memory>

namespace drawfollow::cli {

namespace {

const std::map<std::string, ShapeMeasure> kMeasureNames = {
    {"sum", ShapeMeasure::Sum},       {"span", ShapeMeasure::Span},   {"odd", ShapeMeasure::Odd},
    {"big", ShapeMeasure::Big},       {"prime", ShapeMeasure::Prime}, {"consecutive", ShapeMeasure::Consecutive},
    {"repeat", ShapeMeasure::Repeat}, {"ac", ShapeMeasure::Ac},       {"zone", ShapeMeasure::Zone}};
// A single special number has no shape.
const std::map<std::string, TallyScope> kShapeScopes = {{"regular", TallyScope::Regular}, {"all", TallyScope::All}};

struct ShapeOptions {
    std::string measure;
    std::string scope = "regular";
    IssueRange range;
    bool json = false;
};

}  // namespace

void addShapeCommand(CLI::App& app, CliContext& context) {
    auto o = std::make_shared<ShapeOptions>();
    auto* command = app.add_subcommand("shape", "shape 形态 of every draw: one measure's distribution beside chance");
    command
        ->add_option("--measure", o->measure,
                     "和值 sum, 跨度 span, 奇偶 odd, 大小 big, 质合 prime, 连号 consecutive, "
                     "重号 repeat, AC ac, 区间 zone")
        ->required()
        ->check(oneOf(keysOf(kMeasureNames)));
    command->add_option("--scope", o->scope, "numbers measured: regular 平码 (seven), all 平特 (eight)")
        ->check(oneOf(keysOf(kShapeScopes)))
        ->capture_default_str();
    command->add_option("--first", o->range.first, "first issue of the range (default: the oldest)")
        ->transform(issue());
    command->add_option("--last", o->range.last, "last issue of the range (default: the newest)")->transform(issue());
    command->add_flag("--json", o->json,
                      R"(print {"draws", "values": [{"value", "count", "expected", "p_value"}...], "chi2", "df", )"
                      R"("p", "verdict", "trend": [{"issue", "value"}...]})");
    command->callback([&context, o] {
        const ShapeTable table = readShapes(context.db(), kShapeScopes.at(o->scope), o->range);
        const ShapeDistribution distribution = distributionOf(table, kMeasureNames.at(o->measure));
        if (o->json)
            writeShapeJson(std::cout, table, distribution);
        else
            std::cout << shapeText(table, distribution);
    });
}

}  // namespace drawfollow::cli
