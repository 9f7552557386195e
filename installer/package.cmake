# Run by the installer target (cmake -P): stages the files to ship, then builds the setup
# program with NSIS and the portable zip. The unstripped executables stay in the build folder
# for crash analysis; the shipped ones are stripped copies.
cmake_minimum_required(VERSION 3.25)

foreach(tool MAKENSIS STRIP)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} was not found: run tools/install-dependencies")
    endif()
endforeach()
foreach(file "${FFMPEG_DIR}/ffmpeg.exe" "${FFMPEG_DIR}/ffprobe.exe" "${LIBMPV_DLL}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "Cannot package: ${file} does not exist")
    endif()
endforeach()

set(stage "${OUTPUT_DIR}/${PACKAGE_NAME}")
set(generated "${OUTPUT_DIR}/generated")
file(REMOVE_RECURSE "${stage}" "${generated}")
file(MAKE_DIRECTORY "${stage}/licenses" "${generated}")

function(strip_into source target)
    execute_process(COMMAND "${STRIP}" --strip-all -o "${target}" "${source}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "Could not strip ${source}")
    endif()
endfunction()
strip_into("${ONDREL_EXE}" "${stage}/Ondrel.exe")
strip_into("${COMPRESS_EXE}" "${stage}/ondrel-compress.exe")
file(COPY "${FFMPEG_DIR}/ffmpeg.exe" "${FFMPEG_DIR}/ffprobe.exe" DESTINATION "${stage}")
file(COPY_FILE "${LIBMPV_DLL}" "${stage}/libmpv-2.dll")

# The DLLs libmpv-2.dll needs that Windows does not have: those found beside it, and theirs.
get_filename_component(libmpv_folder "${LIBMPV_DLL}" DIRECTORY)
set(pending "${LIBMPV_DLL}")
set(shipped_dlls)
while(pending)
    list(POP_FRONT pending current)
    execute_process(COMMAND x86_64-w64-mingw32-objdump -p "${current}"
                    OUTPUT_VARIABLE imports RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "Could not read the imports of ${current}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" names "${imports}")
    foreach(entry ${names})
        string(REPLACE "DLL Name: " "" name "${entry}")
        string(STRIP "${name}" name)
        if(EXISTS "${libmpv_folder}/${name}" AND NOT name IN_LIST shipped_dlls)
            list(APPEND shipped_dlls "${name}")
            list(APPEND pending "${libmpv_folder}/${name}")
            file(COPY_FILE "${libmpv_folder}/${name}" "${stage}/${name}")
        endif()
    endforeach()
endwhile()

# One licence text per component.
set(licenses "${stage}/licenses")
file(COPY_FILE "${SOURCE_DIR}/LICENSE" "${licenses}/Ondrel-LICENSE.txt")
foreach(text GPL-2 GPL-3 LGPL-2.1 LGPL-3)
    file(COPY_FILE "/usr/share/common-licenses/${text}" "${licenses}/${text}.txt")
endforeach()
file(COPY_FILE "/usr/share/doc/mingw-w64-common/copyright"
     "${licenses}/MinGW-w64-runtime-ZPL-2.1.txt")
file(COPY_FILE "/usr/share/doc/gcc-mingw-w64-base/copyright"
     "${licenses}/GCC-runtime-library-exception.txt")
file(COPY_FILE "/usr/share/doc/nlohmann-json3-dev/copyright" "${licenses}/nlohmann-json-MIT.txt")
string(TOLOWER "${shipped_dlls}" shipped_lower)
if("vulkan-1.dll" IN_LIST shipped_lower)
    file(COPY_FILE "/usr/share/common-licenses/Apache-2.0" "${licenses}/Vulkan-loader-Apache-2.0.txt")
    file(COPY_FILE "${SOURCE_DIR}/installer/MIT-Vulkan-loader.txt" "${licenses}/Vulkan-loader-MIT.txt")
endif()
file(READ "${SOURCE_DIR}/installer/SOURCES.txt" sources_text)
file(WRITE "${licenses}/SOURCES.txt" "${sources_text}")

# The lists NSIS installs and removes, made from what was staged.
file(GLOB_RECURSE staged RELATIVE "${stage}" "${stage}/*")
list(SORT staged)
set(install_lines)
set(remove_lines)
set(folders)
foreach(relative ${staged})
    get_filename_component(folder "${relative}" DIRECTORY)
    string(REPLACE "/" "\\" windows_relative "${relative}")
    string(REPLACE "/" "\\" windows_folder "${folder}")
    if(folder AND NOT folder IN_LIST folders)
        list(APPEND folders "${folder}")
    endif()
    string(APPEND install_lines "SetOutPath \"$INSTDIR\\${windows_folder}\"\n"
                                "File \"${stage}/${relative}\"\n")
    string(APPEND remove_lines "Delete \"$INSTDIR\\${windows_relative}\"\n")
endforeach()
foreach(folder ${folders})
    string(REPLACE "/" "\\" windows_folder "${folder}")
    string(APPEND remove_lines "RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
file(WRITE "${generated}/files.nsh" "${install_lines}")
file(WRITE "${generated}/uninstall_files.nsh" "${remove_lines}")

# The file types are those of the open dialog's video filter, read from the program's own list.
file(READ "${SOURCE_DIR}/src/ui/open_dialog_filter.hpp" filter_header)
string(REGEX MATCH "video_file_pattern =[^;]*(;[^;]*)*\";" pattern_text "${filter_header}")
string(REGEX MATCHALL "\\*\\.[a-z0-9]+" patterns "${pattern_text}")
if(NOT patterns)
    message(FATAL_ERROR "No video extensions found in src/ui/open_dialog_filter.hpp")
endif()
set(extension_lines "!macro FOR_EACH_VIDEO_EXTENSION MACRO\n")
foreach(pattern ${patterns})
    string(SUBSTRING "${pattern}" 2 -1 extension)
    string(APPEND extension_lines "    !insertmacro \${MACRO} \"${extension}\"\n")
endforeach()
string(APPEND extension_lines "!macroend\n")
file(WRITE "${generated}/extensions.nsh" "${extension_lines}")

set(setup "${OUTPUT_DIR}/${PACKAGE_NAME}-setup.exe")
set(portable "${OUTPUT_DIR}/${PACKAGE_NAME}-portable.zip")
file(REMOVE "${setup}" "${portable}")
execute_process(
    COMMAND "${MAKENSIS}" -V2 -INPUTCHARSET UTF8 "-DVERSION=${VERSION}" "-DSTAGE=${stage}"
            "-DGENERATED=${generated}" "-DOUTFILE=${setup}"
            "-DICON=${SOURCE_DIR}/resources/ondrel.ico" "${SOURCE_DIR}/installer/ondrel.nsi"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "makensis failed")
endif()
# The portable package: the same files in one folder, nothing written to the registry.
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${portable}" --format=zip "${PACKAGE_NAME}"
                WORKING_DIRECTORY "${OUTPUT_DIR}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "Could not write ${portable}")
endif()

foreach(file "${setup}" "${portable}" "${stage}/Ondrel.exe" "${stage}/ondrel-compress.exe"
             "${ONDREL_EXE}" "${COMPRESS_EXE}")
    file(SIZE "${file}" bytes)
    math(EXPR kib "${bytes} / 1024")
    message(STATUS "${kib} KiB  ${file}")
endforeach()
