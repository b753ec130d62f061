#include "common/job.h"

#include <cstring>

HANDLE JobFor(HANDLE process)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, process)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

bool JobRuns(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info;
    return job != nullptr &&
           QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info,
                                     nullptr) &&
           info.ActiveProcesses > 0;
}

void TerminateJob(HANDLE job)
{
    if (job == nullptr)
        return;
    TerminateJobObject(job, 1);
    CloseHandle(job);
}
