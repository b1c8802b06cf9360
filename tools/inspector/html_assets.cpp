#include "html_assets.hpp"

namespace orrery::inspector {

const char* const kReferenceStyle = R"css(/* One column that fits a phone and stays readable on a wide screen. */
:root {
  --text: #1d2330; --muted: #5b6475; --line: #dde1e8; --accent: #1f5fbf; --soft: #f4f6f9; --badge: #e8edf5;
  color-scheme: light;
}
* { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; }
body {
  margin: 0; color: var(--text); background: #fff; line-height: 1.5;
  font: 16px/1.5 system-ui, -apple-system, "Segoe UI", "DejaVu Sans", sans-serif;
}
a { color: var(--accent); text-decoration: none; }
a:hover, a:focus { text-decoration: underline; }
code, .sig, .type { font-family: ui-monospace, "DejaVu Sans Mono", Menlo, Consolas, monospace; font-size: 0.92em; }
.top {
  position: sticky; top: 0; z-index: 2; display: flex; gap: 1rem; align-items: center;
  padding: 0.6rem max(1rem, calc((100% - 58rem) / 2)); background: #14233d; color: #fff;
}
.top .home { color: #fff; font-weight: 600; white-space: nowrap; }
#search {
  flex: 1; min-width: 0; max-width: 28rem; margin-left: auto; padding: 0.4rem 0.7rem; font: inherit;
  border: 1px solid #3a4b6b; border-radius: 6px; background: #fff; color: var(--text);
}
#results {
  position: sticky; top: 3.2rem; z-index: 1; max-height: 70vh; overflow: auto; background: #fff;
  border-bottom: 1px solid var(--line); box-shadow: 0 6px 16px rgba(0, 0, 0, 0.12);
  padding: 0.5rem max(1rem, calc((100% - 58rem) / 2));
}
#results ol { list-style: none; margin: 0; padding: 0; }
#results li { padding: 0.15rem 0; overflow-wrap: anywhere; }
#results .kind { display: inline-block; min-width: 6.5rem; color: var(--muted); font-size: 0.85em; }
#results .count { margin: 0.2rem 0 0.4rem; color: var(--muted); font-size: 0.9em; }
main { max-width: 60rem; margin: 0 auto; padding: 1rem 1rem 4rem; }
h1 { font-size: 1.7rem; margin: 0.8rem 0 0.4rem; overflow-wrap: anywhere; }
h1 .kind { color: var(--muted); font-weight: 400; }
h2 { font-size: 1.25rem; margin: 2rem 0 0.6rem; padding-bottom: 0.25rem; border-bottom: 1px solid var(--line); }
.lead { font-size: 1.08rem; color: #333c4d; }
.doc { white-space: pre-line; margin: 0.3rem 0; }
.crumbs { color: var(--muted); font-size: 0.9rem; overflow-wrap: anywhere; }
.summary { color: var(--muted); }
.summary::before { content: "\2014\00a0"; }
.toc ul, .classes { padding-left: 1.2rem; }
.toc li, .classes li { margin: 0.15rem 0; overflow-wrap: anywhere; }
.facts { display: grid; grid-template-columns: max-content 1fr; gap: 0.3rem 1rem; margin: 1rem 0; }
.facts dt { color: var(--muted); }
.facts dd { margin: 0; overflow-wrap: anywhere; }
.member { padding: 0.6rem 0.8rem; margin: 0.6rem 0; border: 1px solid var(--line); border-radius: 6px; }
.member:target { border-color: var(--accent); background: var(--soft); }
.member h3 { margin: 0; font-size: 1rem; font-weight: 400; overflow-wrap: anywhere; }
.member h3 .name { font-weight: 700; font-family: ui-monospace, "DejaVu Sans Mono", Menlo, Consolas, monospace; }
.member h3 .name:hover::after { content: " #"; color: var(--muted); }
.sig { color: #333c4d; }
.badges { margin: 0.3rem 0; color: var(--muted); font-size: 0.9em; }
.badge { display: inline-block; margin: 0 0.3rem 0.2rem 0.3rem; padding: 0 0.45rem; border-radius: 4px;
  background: var(--badge); color: #2d3a52; font-size: 0.85em; }
.badges code { overflow-wrap: anywhere; }
.from { margin: 0.3rem 0; color: var(--muted); font-size: 0.9em; }
.problems { border-left: 4px solid #c0392b; padding-left: 1rem; }
.note, .empty { color: var(--muted); }
figure { margin: 0; overflow-x: auto; }
figure svg { max-width: 100%; height: auto; }
figcaption { color: var(--muted); font-size: 0.9em; }
@media (max-width: 40rem) {
  body { font-size: 15px; }
  .top { gap: 0.6rem; }
  .facts { grid-template-columns: 1fr; }
  .facts dd { margin-bottom: 0.4rem; }
  .member { padding: 0.5rem 0.6rem; }
}
)css";

const char* const kReferenceScript =
    R"js(// The search box: every class, member, namespace and function that search.js lists,
// filtered by what is typed (case-insensitive, anywhere in the qualified name). Results are
// built with textContent only: names come from plugins.
(function () {
  "use strict";
  var LIMIT = 100;
  var root = document.body.getAttribute("data-root") || "";
  var input = document.getElementById("search");
  var panel = document.getElementById("results");
  var entries = null;

  function kindName(code) {
    return { c: "constructor", p: "property", m: "method" }[code] || code;
  }

  // [lower-case text, label, kind, address], built on first use.
  function allEntries() {
    if (entries) return entries;
    entries = [];
    var data = window.orreryReference || { classes: [], namespaces: [], functions: [] };
    data.namespaces.forEach(function (n) {
      entries.push([n[0].toLowerCase(), n[0], "namespace", root + "index.html#" + n[1]]);
    });
    data.classes.forEach(function (c) {
      var page = root + "classes/" + c[1];
      entries.push([c[0].toLowerCase(), c[0], "class", page]);
      c[2].forEach(function (m) {
        var label = c[0] + "." + m[1];
        entries.push([label.toLowerCase(), label, kindName(m[0]), page + "#" + (m[2] || m[0] + "-" + m[1])]);
      });
    });
    data.functions.forEach(function (f) {
      entries.push([f[0].toLowerCase(), f[0], "function", root + "index.html#" + f[1]]);
    });
    return entries;
  }

  // search.js is as big as the reference: loaded when a search begins, not with each page.
  var loading = false;
  function load() {
    if (loading) return;
    loading = true;
    var script = document.createElement("script");
    script.src = root + "search.js";
    script.onload = update;
    document.head.appendChild(script);
  }

  function update() {
    var query = input.value.trim().toLowerCase();
    if (query && !window.orreryReference) {
      load();
      return;
    }
    panel.textContent = "";
    panel.setAttribute("data-query", query);
    if (!query) {
      panel.hidden = true;
      return;
    }
    var list = document.createElement("ol");
    var count = 0;
    allEntries().forEach(function (entry) {
      if (entry[0].indexOf(query) < 0) return;
      if (++count > LIMIT) return;
      var item = document.createElement("li");
      var kind = document.createElement("span");
      kind.className = "kind";
      kind.textContent = entry[2];
      var link = document.createElement("a");
      link.href = entry[3];
      link.textContent = entry[1];
      item.appendChild(kind);
      item.appendChild(link);
      list.appendChild(item);
    });
    var summary = document.createElement("p");
    summary.className = "count";
    summary.textContent = count === 0 ? "Nothing matches." :
      count + (count === 1 ? " match" : " matches") + (count > LIMIT ? ", the first " + LIMIT + " shown" : "");
    panel.appendChild(summary);
    if (count) panel.appendChild(list);
    panel.hidden = false;
  }

  input.addEventListener("input", update);
  input.addEventListener("focus", load);
  input.addEventListener("keydown", function (event) {
    if (event.key === "Escape") {
      input.value = "";
      update();
    }
  });
  document.addEventListener("keydown", function (event) {
    if (event.key === "/" && document.activeElement !== input) {
      event.preventDefault();
      input.focus();
    }
  });
  var query = new URLSearchParams(window.location.search).get("q");
  if (query) {
    input.value = query;
    update();
  }
})();
)js";

}  // namespace orrery::inspector
