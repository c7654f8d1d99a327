# Names the page's build after its files' contents and the form table, then writes its
# window: the page asks for every file under that name, so no browser cache can hand it
# one file of an older upload beside the newer ones.
# The scripts with their comments and long names gone: a third of their size, for hosts that
# send them uncompressed. Debian's terser finds its modules where Debian keeps them.
foreach(script zun-page.js zun-scorm.js zun-viewport.js)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
        ${TERSER} ${SITE}/${script} --compress passes=2 --mangle --ecma 2020 -o ${SITE}/${script}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names index.html.in make-page.mjs)
list(SORT names)
file(SHA256 ${FORM} digest)
foreach(name IN LISTS names)
    file(SHA256 ${SITE}/${name} sum)
    string(APPEND digest ${name}${sum})
endforeach()
string(SHA256 digest "${digest}")
string(SUBSTRING ${digest} 0 12 digest)
execute_process(COMMAND ${NODE} ${SITE}/make-page.mjs ${FORM} ${SITE} ${VERSION}-${digest}
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${SITE}/index.html.in ${SITE}/make-page.mjs)
