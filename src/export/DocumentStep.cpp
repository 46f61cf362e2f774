// What every per-document step of an export run shares.
#include "export/DocumentStep.h"

#include "log/LogManager.h"

namespace exporter {

bool DocumentStep::Log(RunContext &run, const std::string &line, int level) {
    if (!run.log.Accepts(level) || run.log.Write(line, level)) {
        return true;
    }
    return Fail(run.log.LastError());
}

}  // namespace exporter
