# The run loop, the process clock (real or virtual) and dispatch queues.
target_sources(cvfoundation PRIVATE
    Clock.cpp
    RunLoop.cpp
    RunLoopImpl.cpp
    dispatch.cpp
    DispatchGroups.cpp
)

cv_add_test(foundation_clock_test SOURCES tests/ClockTest.cpp LIBS cvfoundation)
cv_add_test(foundation_run_loop_test SOURCES tests/RunLoopTest.cpp LIBS cvfoundation)
cv_add_test(foundation_dispatch_test SOURCES tests/DispatchTest.cpp LIBS cvfoundation)
