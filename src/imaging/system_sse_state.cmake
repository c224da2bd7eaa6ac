# The system's word on the SSE registers, for the SSE2 kernels' choice.
gleamo_win32_sources(
  system_sse_state.cpp
)
