// A window run that root relaunches as another user gets nothing of the
// test's environment, the sanitizers' settings included: the test build of
// the program carries the suppressions of toolkit.supp itself.
extern "C" const char* __lsan_default_suppressions()
{
    return DN_LEAK_SUPPRESSIONS;
}
