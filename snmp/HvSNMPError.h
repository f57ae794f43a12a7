#pragma once
// The outcome record of a request: handed to a request's error handler, to the reply
// callbacks of asynchronous operations, and into the caller's record of a synchronous set.
#include <cstdint>
#include <string>

struct HvSNMPError {
    int32_t code = 0;          // module error code, 0 for success
    int32_t errorIndex = 0;    // error index of the reply (asynchronous replies only)
    std::string message;       // text of the code, or the stop notice of a binding
    std::string agentAddress;  // address of the agent that was asked (asynchronous replies)
    uint16_t agentPort = 0;    // its port (asynchronous replies)
    bool finished = false;     // asynchronous reads: the last reply of the read
    // The request's error count after this error was counted; -1 in a binding's stop notice.
    int64_t errorCount = 0;
};
