// The scoring self-check without a window: writes the same check report into report.prn.
#include "cli/Cli.h"

#include "checkout/Checkout.h"

namespace varenta::cli {

namespace {

int Checkout(const QStringList& args) {
    const Options o = Parse(
        args, {QStringLiteral("program-dir"), QStringLiteral("report"), QStringLiteral("gender")},
        {});
    o.refuseArguments();

    const QString report = o.value(QStringLiteral("report"));
    checkout::ReportKind kind;
    if (report == QLatin1String("truth"))
        kind = checkout::ReportKind::TruthCorrection;
    else if (report == QLatin1String("distributions"))
        kind = checkout::ReportKind::ScaleDistributions;
    else if (report == QLatin1String("minimum"))
        kind = checkout::ReportKind::MinimumScaleScores;
    else if (report.isEmpty())
        throw CliError{QStringLiteral("missing --report truth|distributions|minimum")};
    else
        throw CliError{
            QStringLiteral("--report must be truth, distributions or minimum, not \"%1\"")
                .arg(report)};

    checkout::GenderChoice gender = checkout::GenderChoice::Both;
    if (o.has(QStringLiteral("gender"))) {
        const QString g = o.value(QStringLiteral("gender"));
        if (g == QLatin1String("male"))
            gender = checkout::GenderChoice::Male;
        else if (g == QLatin1String("female"))
            gender = checkout::GenderChoice::Female;
        else
            throw CliError{QStringLiteral("--gender must be male or female, not \"%1\"").arg(g)};
    }
    // As in the window, Truth Correction is scored with one gender's norms.
    if (kind == checkout::ReportKind::TruthCorrection && gender == checkout::GenderChoice::Both)
        throw CliError{QStringLiteral("--report truth needs --gender male or female")};

    UseProgramDir(o);
    checkout::CheckoutSession session;
    session.WriteReport(kind, gender);
    return 0;
}

const bool registered =
    Register({"checkout",
              "checkout [--program-dir P] --report truth|distributions|minimum "
              "[--gender male|female]\n"
              "                                       write a scoring check report into report.prn",
              &Checkout,
              "Writes one of the scoring self-check reports of the Automated Checkout window into\n"
              "report.prn (in the program folder P, or your private report folder when Varenta\n"
              "is installed): truth (needs --gender), distributions or minimum."});

} // namespace

} // namespace varenta::cli
