# The screenshots a release with a public address adds to the metainfo validate as software centres read
# them. The built metainfo gets the screenshots block for a sample web folder and is validated again.
#
# cmake -DMETAINFO=<built metainfo> -DSCREENSHOTS=<metainfo-screenshots.xml.in> -DWORK_DIR=<folder>
#       -P MetainfoScreenshots.cmake

cmake_minimum_required(VERSION 3.25)

set(VESMARIN_SCREENSHOTS_URL https://example.org/vesmarin/1.0.0/docs/screenshots)
file(READ ${SCREENSHOTS} block)
string(CONFIGURE "${block}" block @ONLY)
file(READ ${METAINFO} xml)
string(REPLACE "  <content_rating" "${block}  <content_rating" xml "${xml}")
if(NOT xml MATCHES "<image type=\"source\">https://example\\.org/vesmarin/1\\.0\\.0/docs/screenshots/main-en\\.png</image>")
  message(FATAL_ERROR "the screenshots did not reach the metainfo")
endif()
file(MAKE_DIRECTORY ${WORK_DIR})
get_filename_component(name ${METAINFO} NAME)
file(WRITE ${WORK_DIR}/${name} "${xml}")
execute_process(COMMAND appstreamcli validate --no-net --pedantic ${WORK_DIR}/${name} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the metainfo with screenshots does not validate")
endif()
