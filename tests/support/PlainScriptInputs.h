#pragma once

#include "batch/ScriptWriter.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>

// What the script writer reads for a run of the given rows: the writer's own open command, one set, no
// drawing read-only, each routine's text from `routineText`.
inline qv::ScriptInputs plainScriptInputs(qv::DrawingRows rows, std::string scriptFolder,
                                          std::function<std::string(const std::string&)> routineText)
{
    qv::ScriptInputs inputs;
    inputs.rows = std::move(rows);
    inputs.scriptFolder = std::move(scriptFolder);
    inputs.openCommand = "Unknown";
    inputs.sequenceText = "1";
    inputs.routineText = std::move(routineText);
    inputs.isReadOnly = [](const std::string&) -> qv::Result<bool> { return false; };
    return inputs;
}

// For a writer run that must not ask the user anything.
inline qv::AskUser noQuestions()
{
    return [](const qv::UserMessage& message) {
        ADD_FAILURE() << "unexpected question: " << message.text;
        return qv::MessageAnswer::Cancel;
    };
}
