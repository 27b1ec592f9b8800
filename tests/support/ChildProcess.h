#pragma once

#include <string>
#include <vector>

// Starts a program with arguments and waits for its exit status, on POSIX systems and on Windows alike.
// Arguments are UTF-8; on Windows they are quoted by the rules the C runtime splits them by.
namespace testsupport {

struct Child
{
    long long id = -1; // a process id, or a Windows process handle
};

Child startChild(const std::string& program, const std::vector<std::string>& args);
int waitForChild(Child child); // the exit status, -1 when it did not end normally
void endChild(Child child);    // ends it at once; waitForChild still collects it

// The path of a program in the folder of the running executable.
std::string programBeside(const std::string& name);

// Sets (or, with an empty value, removes) a variable of this process's environment, which children inherit.
void setEnvironment(const std::string& name, const std::string& value);

} // namespace testsupport
