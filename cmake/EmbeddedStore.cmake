# gs_add_embedded_store(TARGET DATA_DIR [ONLY REGEX...] SOURCES...): a static library holding
# every file under DATA_DIR (except README.md and hidden files; with ONLY, just the files whose
# relative path matches one of the regular expressions) as read-only data. A generated assembly
# file pulls each file in with .incbin and lists it in a table of (relative path, pointer,
# size, kind); adding or removing a file reconfigures, changing one reassembles the table.
# The assembly is GNU as for ELF targets (Linux); kinds: 0 tag file, 1 raw data, 2 icon.

function(gs_store_kind rel out)
  string(TOLOWER "${rel}" lower)
  get_filename_component(name "${lower}" NAME)
  if(lower MATCHES "\\.ico$")
    set(${out} 2 PARENT_SCOPE)
  elseif(lower MATCHES "\\.yml$" AND NOT name STREQUAL "gasseparator.defaults.yml")
    set(${out} 0 PARENT_SCOPE)
  else()
    set(${out} 1 PARENT_SCOPE)
  endif()
endfunction()

function(gs_asm_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(gs_add_embedded_store target data_dir)
  cmake_parse_arguments(ARG "" "" "ONLY;SOURCES" ${ARGN})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE "${data_dir}" "${data_dir}/*")
  list(FILTER files EXCLUDE REGEX "(^|/)\\.")
  list(REMOVE_ITEM files "README.md")
  if(ARG_ONLY)
    set(kept "")
    foreach(rel IN LISTS files)
      foreach(pattern IN LISTS ARG_ONLY)
        if(rel MATCHES "${pattern}")
          list(APPEND kept "${rel}")
          break()
        endif()
      endforeach()
    endforeach()
    set(files ${kept})
  endif()
  list(SORT files)

  set(blobs "")
  set(table "")
  set(depends "")
  set(i 0)
  foreach(rel IN LISTS files)
    gs_store_kind("${rel}" kind)
    gs_asm_string("${data_dir}/${rel}" abs)
    gs_asm_string("${rel}" name)
    string(APPEND blobs "    .balign 16\n.Ld${i}:\n    .incbin ${abs}\n.Le${i}:\n"
                        ".Ln${i}:\n    .asciz ${name}\n")
    string(APPEND table "    .quad .Ln${i}, .Ld${i}, .Le${i} - .Ld${i}, ${kind}\n")
    list(APPEND depends "${data_dir}/${rel}")
    math(EXPR i "${i} + 1")
  endforeach()

  set(asm "${CMAKE_CURRENT_BINARY_DIR}/${target}_data.S")
  file(GENERATE OUTPUT "${asm}" CONTENT
"/* Generated from ${data_dir}; do not edit. */
    .section .rodata.gs_store,\"a\",@progbits
${blobs}
    .section .data.rel.ro.gs_store,\"aw\",@progbits
    .balign 8
    .globl gs_store_table
    .type gs_store_table, @object
gs_store_table:
${table}    .quad 0, 0, 0, 0
    .globl gs_store_count
    .type gs_store_count, @object
gs_store_count:
    .quad ${i}
    .section .note.GNU-stack,\"\",@progbits
")
  set_source_files_properties("${asm}" PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${depends}")
  add_library(${target} STATIC ${ARG_SOURCES} "${asm}")
endfunction()
