# Smoke run of the benchmark: a few frames at both window sizes must produce a complete
# report. No timing is judged here; make bench measures.
#   cmake -DBENCH=... -DRUN_DIR=... -DJSON=... -P bench_smoke.cmake
execute_process(COMMAND ${BENCH} ${RUN_DIR} --frames 3 --json ${JSON}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tarnhollow-bench failed (${status}):\n${output}\n${errors}")
endif()
file(READ ${JSON} report)
string(JSON sizes LENGTH ${report} sizes)
if(NOT sizes EQUAL 2)
  message(FATAL_ERROR "expected two window sizes in the report, got ${sizes}")
endif()
string(JSON startup GET ${report} startToFirstFrameSeconds)
if(NOT startup GREATER 0)
  message(FATAL_ERROR "no start-up time: ${startup}")
endif()
foreach(i 0 1)
  # Three frames: two plain, the last one with light shafts, each kind with its own ratio.
  foreach(path "gameFrameMs;median" "probeFrameMs;median" "ratio" "lightShaftsGameFrameMs;p95"
               "lightShaftsRatio" "passGpuMs;shadow" "passGpuMs;window"
               "passGpuMs;lightShafts" "passGpuMs;hud" "ownCpuMs;submission" "peakResidentMb")
    string(JSON value GET ${report} sizes ${i} ${path})
    if(NOT value GREATER 0)
      message(FATAL_ERROR "size ${i}: ${path} is ${value}, expected a positive number")
    endif()
  endforeach()
endforeach()
string(JSON width GET ${report} sizes 1 width)
string(JSON height GET ${report} sizes 1 height)
if(NOT width EQUAL 1920 OR NOT height EQUAL 1080)
  message(FATAL_ERROR "the large window came out ${width}x${height}")
endif()
message(STATUS "${output}")
