// A worker of the game's transform batch manager. The batch manager holds four of these by
// value, but nothing in this system fills a batch, so a run has no work to do.
#pragma once

#include "kelvo/tasks/Task.h"

struct STransformTask : public ITask
{
    STransformTask() { SetDeleteAfterRun(false); }

    std::string GetName() const override { return "STransformTask"; }
    void Run() override {}
};
