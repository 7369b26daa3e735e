// The system's print service, reached through CUPS with IPP requests. One connection is
// kept for the life of the service and made again when it has gone.
#include "reports/print/PrintService.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "reports/print/ReportPrint.h"

#include <QSizeF>

#include <cups/cups.h>
#include <cups/pwg.h>

#include <cmath>
#include <cstdlib>
#include <iterator>

namespace varenta::reports {

namespace {

constexpr int ConnectMs = 5000;

QString Text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// The reasons an attribute lists, "none" left out.
QStringList Keywords(ipp_t* response, const char* name) {
    QStringList out;
    ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_KEYWORD);
    for (int i = 0; attr && i < ippGetCount(attr); ++i) {
        const QString k = Text(ippGetString(attr, i, nullptr));
        if (!k.isEmpty() && k != QLatin1String("none"))
            out << k;
    }
    return out;
}

QString StringAttribute(ipp_t* response, const char* name) {
    ipp_attribute_t* attr = ippFindAttribute(response, name, IPP_TAG_ZERO);
    return attr ? Text(ippGetString(attr, 0, nullptr)) : QString();
}

// Frees an IPP message when it goes out of scope.
struct Ipp {
    explicit Ipp(ipp_t* m) : message(m) {}
    ~Ipp() { ippDelete(message); }
    Ipp(const Ipp&) = delete;
    Ipp& operator=(const Ipp&) = delete;
    ipp_t* message;
};

class CupsPrintService : public PrintService {
public:
    ~CupsPrintService() override {
        if (http_)
            httpClose(http_);
    }

    // Asked afresh each time: the service may have stopped since the last job.
    bool Reachable() override {
        if (http_) {
            httpClose(http_);
            http_ = nullptr;
        }
        return Connection() != nullptr;
    }

    QString DefaultPrinter() override {
        http_t* http = Connection();
        if (!http)
            return {};
        // The default as the user's own settings and the PRINTER variable name it.
        if (cups_dest_t* dest = cupsGetNamedDest(http, nullptr, nullptr)) {
            const QString name = Text(dest->name);
            cupsFreeDests(1, dest);
            return name;
        }
        // A default named in the environment that the service does not know is still the
        // printer the user asked for: the check of the printer says it is missing.
        for (const char* var : {"LPDEST", "PRINTER"}) {
            const QString named = qEnvironmentVariable(var);
            if (!named.isEmpty() && named != QLatin1String("lp"))
                return named;
        }
        return {};
    }

    PrinterStatus Printer(const QString& name) override {
        PrinterStatus status;
        http_t* http = Connection();
        if (!http) {
            status.answered = false;
            return status;
        }
        const QString uri = name.isEmpty() ? QString() : PrinterUri(http, name);
        if (uri.isEmpty()) {
            status.answered = cupsLastError() != IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
            return status;
        }
        ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        AddOperation(request, uri);
        static const char* const wanted[] = {"printer-state", "printer-state-reasons",
                                             "printer-state-message", "printer-is-accepting-jobs",
                                             "media-default"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      int(std::size(wanted)), nullptr, wanted);
        Ipp response(cupsDoRequest(http, request, "/"));
        if (!response.message) {
            status.answered = false;
            return status;
        }
        if (ippGetStatusCode(response.message) > IPP_STATUS_OK_CONFLICTING)
            return status;
        status.exists = true;
        if (ipp_attribute_t* accepting =
                ippFindAttribute(response.message, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
            status.accepting = ippGetBoolean(accepting, 0) != 0;
        switch (
            ippGetInteger(ippFindAttribute(response.message, "printer-state", IPP_TAG_ENUM), 0)) {
        case IPP_PSTATE_PROCESSING:
            status.state = PrinterState::Processing;
            break;
        case IPP_PSTATE_STOPPED:
            status.state = PrinterState::Stopped;
            break;
        default:
            status.state = PrinterState::Idle;
            break;
        }
        status.message = StringAttribute(response.message, "printer-state-message").trimmed();
        status.reasons = Keywords(response.message, "printer-state-reasons");
        status.paper = PaperOfMedia(StringAttribute(response.message, "media-default"));
        return status;
    }

    int Submit(const PrintJob& job) override {
        http_t* http = Connection();
        if (!http)
            throw VError(PrinterError, QStringLiteral("The print service cannot be reached."));
        cups_dest_t* dest = cupsGetNamedDest(http, job.printer.toUtf8().constData(), nullptr);
        if (!dest)
            throw VError(PrinterError, QStringLiteral("The printer \"%1\" does not exist on this "
                                                      "computer.")
                                           .arg(job.printer));
        cups_dinfo_t* info = cupsCopyDestInfo(http, dest);
        cups_option_t* options = nullptr;
        int count = 0;
        for (const auto& [key, value] : job.options)
            count = cupsAddOption(key.toUtf8().constData(), value.toUtf8().constData(), count,
                                  &options);
        const QByteArray title = job.title.toUtf8();
        int id = 0;
        bool sent = cupsCreateDestJob(http, dest, info, &id, title.constData(), count, options) ==
                        IPP_STATUS_OK &&
                    id > 0;
        if (sent) {
            sent = cupsStartDestDocument(http, dest, info, id, title.constData(),
                                         job.format.toUtf8().constData(), 0, nullptr,
                                         1) == HTTP_STATUS_CONTINUE &&
                   cupsWriteRequestData(http, job.data.constData(), size_t(job.data.size())) ==
                       HTTP_STATUS_CONTINUE &&
                   cupsFinishDestDocument(http, dest, info) == IPP_STATUS_OK;
        }
        const QString said = Text(cupsLastErrorString());
        // A job that was made but never got its document must not wait in the queue.
        if (!sent && id > 0)
            cupsCancelDestJob(http, dest, id);
        cupsFreeOptions(count, options);
        cupsFreeDestInfo(info);
        cupsFreeDests(1, dest);
        if (!sent)
            throw VError(PrinterError,
                         QStringLiteral("The printer \"%1\" did not accept the report: %2")
                             .arg(job.printer, said));
        return id;
    }

    JobStatus Job(int id) override {
        JobStatus status;
        http_t* http = Connection();
        if (!http)
            return status;
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        AddJob(request, id);
        static const char* const wanted[] = {"job-state", "job-state-reasons",
                                             "job-printer-state-message"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      int(std::size(wanted)), nullptr, wanted);
        Ipp response(cupsDoRequest(http, request, "/jobs/"));
        if (!response.message) {
            status.state = JobState::Unknown; // the service did not answer
            return status;
        }
        if (ippGetStatusCode(response.message) > IPP_STATUS_OK_CONFLICTING) {
            // A job the service no longer knows has left the queue one way or another.
            status.state = JobState::Aborted;
            status.message = Text(cupsLastErrorString());
            return status;
        }
        switch (ippGetInteger(ippFindAttribute(response.message, "job-state", IPP_TAG_ENUM), 0)) {
        case IPP_JSTATE_HELD:
            status.state = JobState::Held;
            break;
        case IPP_JSTATE_PROCESSING:
            status.state = JobState::Processing;
            break;
        case IPP_JSTATE_STOPPED:
            status.state = JobState::Stopped;
            break;
        case IPP_JSTATE_CANCELED:
            status.state = JobState::Canceled;
            break;
        case IPP_JSTATE_ABORTED:
            status.state = JobState::Aborted;
            break;
        case IPP_JSTATE_COMPLETED:
            status.state = JobState::Completed;
            break;
        default:
            status.state = JobState::Pending;
            break;
        }
        status.message = StringAttribute(response.message, "job-printer-state-message").trimmed();
        status.reasons = Keywords(response.message, "job-state-reasons");
        return status;
    }

    bool Cancel(int id) override {
        http_t* http = Connection();
        if (!http)
            return false;
        ipp_t* request = ippNewRequest(IPP_OP_CANCEL_JOB);
        AddJob(request, id);
        Ipp response(cupsDoRequest(http, request, "/jobs/"));
        return response.message && ippGetStatusCode(response.message) <= IPP_STATUS_OK_CONFLICTING;
    }

private:
    // The connection is kept; requests on it connect again by themselves when it has closed.
    http_t* Connection() {
        if (!http_)
            http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 ConnectMs, nullptr);
        return http_;
    }

    static void AddOperation(ipp_t* request, const QString& printerUri) {
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                     printerUri.toUtf8().constData());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
    }

    static void AddJob(ipp_t* request, int id) {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                         ippPort(), "/jobs/%d", id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
    }

    // The URI the service gives the printer (a class has its own); empty when it has none.
    static QString PrinterUri(http_t* http, const QString& name) {
        cups_dest_t* dest = cupsGetNamedDest(http, name.toUtf8().constData(), nullptr);
        if (!dest)
            return {};
        QString uri =
            Text(cupsGetOption("printer-uri-supported", dest->num_options, dest->options));
        cupsFreeDests(1, dest);
        if (uri.isEmpty()) {
            char assembled[HTTP_MAX_URI];
            httpAssembleURIf(HTTP_URI_CODING_ALL, assembled, sizeof assembled, "ipp", nullptr,
                             "localhost", ippPort(), "/printers/%s", name.toUtf8().constData());
            uri = Text(assembled);
        }
        return uri;
    }

    http_t* http_ = nullptr;
};

std::unique_ptr<PrintService>& Installed() {
    static std::unique_ptr<PrintService> service;
    return service;
}

// Back to the system's service, made again when next needed.
const StateReset resetService([] { Installed().reset(); });

} // namespace

PrintService& CurrentPrintService() {
    std::unique_ptr<PrintService>& s = Installed();
    if (!s)
        s = std::make_unique<CupsPrintService>();
    return *s;
}

std::unique_ptr<PrintService> SetPrintService(std::unique_ptr<PrintService> service) {
    std::unique_ptr<PrintService> old = std::move(Installed());
    Installed() = std::move(service);
    return old;
}

QString MediaName(QPageSize::PageSizeId paper) {
    const QSizeF mm = QPageSize(paper).size(QPageSize::Millimeter);
    const pwg_media_t* media =
        pwgMediaForSize(int(std::lround(mm.width() * 100)), int(std::lround(mm.height() * 100)));
    return media && media->pwg ? Text(media->pwg) : QString();
}

std::optional<QPageSize::PageSizeId> PaperOfMedia(const QString& media) {
    if (media.isEmpty())
        return std::nullopt;
    const QByteArray name = media.toUtf8();
    const pwg_media_t* m = pwgMediaForPWG(name.constData());
    if (!m)
        m = pwgMediaForLegacy(name.constData());
    if (!m)
        m = pwgMediaForPPD(name.constData());
    if (!m) {
        // Short names as queues give them ("letter", "a4"), in whatever case.
        for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
            const auto size = QPageSize::PageSizeId(id);
            if (QPageSize::key(size).compare(media, Qt::CaseInsensitive) == 0)
                return size;
        }
        return std::nullopt;
    }
    const QPageSize::PageSizeId id = QPageSize::id(QSizeF(m->width / 100.0, m->length / 100.0),
                                                   QPageSize::Millimeter, QPageSize::FuzzyMatch);
    if (id == QPageSize::Custom)
        return std::nullopt;
    return id;
}

} // namespace varenta::reports
