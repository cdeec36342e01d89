# Turns the user guide (docs/user-guide.md) into the package's bkQuorvel.html.
# It knows the little Markdown the guide uses and nothing more: headings (#, ##),
# paragraphs, "- " lists whose items go on over indented lines, ``` blocks,
# a picture on a line of its own, **strong** and `code`. Pictures are named
# relative to the guide and stay so: the package puts them beside the page.
#   awk -f guide-html.awk docs/user-guide.md > bkQuorvel.html

function escape(s) {
    gsub(/&/, "\\&amp;", s)
    gsub(/</, "\\&lt;", s)
    gsub(/>/, "\\&gt;", s)
    gsub(/"/, "\\&quot;", s)
    return s
}

# Replaces every open...close span (the pattern `re`, a string: a /regex/ here
# would be matched against the input line at once; marker `width` characters
# wide on each side) with <tag>...</tag>.
function spans(s, re, width, tag,    out) {
    out = ""
    while (match(s, re)) {
        out = out substr(s, 1, RSTART - 1) "<" tag ">" substr(s, RSTART + width, RLENGTH - 2 * width) "</" tag ">"
        s = substr(s, RSTART + RLENGTH)
    }
    return out s
}

function inline(s) {
    return spans(spans(escape(s), "`[^`]+`", 1, "code"), "[*][*][^*]+[*][*]", 2, "strong")
}

function flush() {
    if (text != "") {
        if (inItem) print "<li>" inline(text) "</li>"
        else print "<p>" inline(text) "</p>"
    }
    text = ""
    inItem = 0
}

function endList() {
    flush()
    if (inList) print "</ul>"
    inList = 0
}

BEGIN {
    print "<!DOCTYPE html>"
    print "<html lang=\"en\">"
    print "<head>"
    print "<meta charset=\"utf-8\">"
    print "<style>"
    print "body { font-family: Segoe UI, Tahoma, sans-serif; max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }"
    print "pre { background: #f4f4f4; padding: 0.8em; overflow-x: auto; }"
    print "code { font-family: Consolas, monospace; }"
    print "img { display: block; margin: 1em 0; border: 1px solid #ccc; }"
    print "</style>"
}

inCode && /^```/ { print "</code></pre>"; inCode = 0; next }
inCode { print escape($0); next }

/^```/ { endList(); printf "<pre><code>"; inCode = 1; next }

/^# / {
    endList()
    title = substr($0, 3)
    print "<title>" escape(title) "</title>"
    print "</head>"
    print "<body>"
    print "<h1>" inline(title) "</h1>"
    next
}
/^#+ / {
    endList()
    level = index($0, " ") - 1
    print "<h" level ">" inline(substr($0, level + 2)) "</h" level ">"
    next
}
/^!\[[^]]*\]\([^)]+\)$/ {
    endList()
    alt = substr($0, 3, index($0, "](") - 3)
    src = substr($0, index($0, "](") + 2)
    print "<p><img src=\"" escape(substr(src, 1, length(src) - 1)) "\" alt=\"" escape(alt) "\"></p>"
    next
}
/^- / {
    flush()
    if (!inList) print "<ul>"
    inList = 1
    inItem = 1
    text = substr($0, 3)
    next
}
/^[ \t]*$/ { flush(); next }
/^  / && inList { text = text " " substr($0, 3); inItem = 1; next }
{
    if (inList && !inItem && text == "") endList()
    text = text == "" ? $0 : text " " $0
}

END {
    if (inCode) print "</code></pre>"
    endList()
    print "</body>"
    print "</html>"
}
