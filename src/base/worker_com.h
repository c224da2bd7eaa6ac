// COM on a worker thread of the program.
#pragma once

// Joins the multithreaded apartment where the system has CoInitializeEx;
// Windows 95 without DCOM lacks it, and the thread then takes a
// single-threaded apartment, which wants its messages pumped while it waits
// (multithreaded is false). True when COM was started, to be ended with
// CoUninitialize.
bool StartWorkerCom(bool& multithreaded);
