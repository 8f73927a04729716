# cmake -DTFDATA=... -DFIXTURE=... -DWORK=... -P TfDataRoundTrip.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${err}")
  endif()
  set(LAST_OUT "${out}" PARENT_SCOPE)
endfunction()

run(${TFDATA} validate ${FIXTURE})
run(${TFDATA} dump ${FIXTURE})
file(WRITE ${WORK}/rich.json "${LAST_OUT}")
foreach(key Players Skills Items Monsters MonGroups Attribs Statuses Animations
            ConditionRanks HeroUsable TerrainAllowed Frames Timings Cells Learning Actions Members Pages)
  string(FIND "${LAST_OUT}" "\"${key}\"" at)
  if(at LESS 0)
    message(FATAL_ERROR "dump lacks \"${key}\"")
  endif()
endforeach()

run(${TFDATA} build ${WORK}/rich.json ${WORK}/built.ldb)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FIXTURE} ${WORK}/built.ldb RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "tfdata build (tfdata dump F) differs from F")
endif()

# A resave counts one save: same size here (the counter stays within one BER byte).
run(${TFDATA} resave ${FIXTURE} ${WORK}/resaved.ldb)
run(${TFDATA} validate ${WORK}/resaved.ldb)
file(SIZE ${FIXTURE} a)
file(SIZE ${WORK}/resaved.ldb b)
if(NOT a EQUAL b)
  message(FATAL_ERROR "resave changed the size: ${a} -> ${b}")
endif()
