# Icons are drawn as SVG and rendered to PNG at build time; the built-in
# tables, the style sheet and the translations are embedded as Qt resources.
# The compiled resources are an object library whose objects are handed to
# every executable that links the lowest layer: inside a static archive nothing
# references them, and the linker would drop them.

set(MAROVIN_SVGRENDER_SOURCE ${CMAKE_SOURCE_DIR}/tools/svgrender/main.cpp)

function(marovin_attach_resources core_target)
    add_executable(svgrender ${MAROVIN_SVGRENDER_SOURCE})
    target_link_libraries(svgrender PRIVATE Qt5::Svg Qt5::Gui Qt5::Core)

    set(gen ${CMAKE_BINARY_DIR}/generated)
    file(MAKE_DIRECTORY ${gen})

    file(GLOB_RECURSE svgs CONFIGURE_DEPENDS
         RELATIVE ${CMAKE_SOURCE_DIR}/resources/images
         ${CMAKE_SOURCE_DIR}/resources/images/*.svg)
    set(pngs)
    set(qrc_images "")
    foreach(svg ${svgs})
        string(REGEX REPLACE "\\.svg$" ".png" png ${svg})
        set(out ${gen}/resources/images/${png})
        get_filename_component(outdir ${out} DIRECTORY)
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
            COMMAND svgrender ${CMAKE_SOURCE_DIR}/resources/images/${svg} ${out}
            DEPENDS svgrender ${CMAKE_SOURCE_DIR}/resources/images/${svg}
            VERBATIM)
        list(APPEND pngs ${out})
        string(APPEND qrc_images "        <file>resources/images/${png}</file>\n")
    endforeach()

    set_source_files_properties(${CMAKE_SOURCE_DIR}/translations/en_US_app.ts
        PROPERTIES OUTPUT_LOCATION ${gen})
    qt5_add_translation(qm_files ${CMAKE_SOURCE_DIR}/translations/en_US_app.ts)

    set(QT_ZH_CN_QM /usr/share/qt5/translations/qtbase_zh_CN.qm)
    if(NOT EXISTS ${QT_ZH_CN_QM})
        message(FATAL_ERROR "Qt's Chinese catalogue is missing: install qttranslations5-l10n")
    endif()
    configure_file(${QT_ZH_CN_QM} ${gen}/qtbase_zh_CN.qm COPYONLY)

    file(WRITE ${gen}/images.qrc.in
        "<!DOCTYPE RCC><RCC version=\"1.0\">\n    <qresource prefix=\"/\">\n${qrc_images}    </qresource>\n</RCC>\n")
    configure_file(${gen}/images.qrc.in ${gen}/images.qrc COPYONLY)
    # Written through configure_file, which leaves an unchanged file alone: a
    # fresh time stamp on every configure made rcc run again and relinked every
    # program and test.
    file(WRITE ${gen}/translations.qrc.in
        "<!DOCTYPE RCC><RCC version=\"1.0\">\n    <qresource prefix=\"/\">\n        <file alias=\"en_US_app\">en_US_app.qm</file>\n        <file alias=\"zh_CN_qt\">qtbase_zh_CN.qm</file>\n    </qresource>\n</RCC>\n")
    configure_file(${gen}/translations.qrc.in ${gen}/translations.qrc COPYONLY)

    set_source_files_properties(${gen}/images.qrc PROPERTIES OBJECT_DEPENDS "${pngs}")
    set_source_files_properties(${gen}/translations.qrc PROPERTIES OBJECT_DEPENDS "${qm_files}")

    qt5_add_resources(rcc_sources
        ${CMAKE_SOURCE_DIR}/resources/resources.qrc
        ${gen}/images.qrc
        ${gen}/translations.qrc)
    add_custom_target(marovin_resource_files DEPENDS ${pngs} ${qm_files})
    add_library(marovin_resources OBJECT ${rcc_sources})
    add_dependencies(marovin_resources marovin_resource_files)
    target_link_libraries(marovin_resources PRIVATE Qt5::Core)
    # Executables only: the layers above would copy them into every archive.
    target_sources(${core_target} INTERFACE
        $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:$<TARGET_OBJECTS:marovin_resources>>)
    add_dependencies(${core_target} marovin_resources)
endfunction()
