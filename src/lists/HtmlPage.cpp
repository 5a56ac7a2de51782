#include "lists/HtmlPage.h"

namespace movra::lists {

const std::string_view kHtmlStart = R"(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>)";

const std::string_view kHtmlAfterTitle = R"(</title>
<style>
body{font:13px/1.6 "Microsoft YaHei","WenQuanYi Micro Hei",sans-serif;margin:0;color:#222}
header{position:sticky;top:0;background:#f3f3f3;border-bottom:1px solid #ccc;padding:6px 10px;display:flex;gap:12px;align-items:center}
h1{font-size:15px;margin:0;font-weight:normal}
#q{width:22em;padding:2px 6px}
#info{color:#666}
main{padding:6px 10px}
.t{cursor:pointer;white-space:nowrap;user-select:none}
.t:hover{background:#e8f0fe}
.k0{font-weight:bold}
.k1{color:#1a5fb4}
.c{margin-left:1.4em}
.m{color:#555;white-space:pre-wrap;border-left:3px solid #ddd;padding-left:6px;margin:2px 0}
.r{display:grid;grid-template-columns:minmax(10em,2fr) 7em 11em 3fr;gap:0 12px;white-space:nowrap}
.r.w{grid-template-columns:minmax(10em,2fr) 7em 11em 3fr 2fr}
.r span{overflow:hidden;text-overflow:ellipsis}
.r .s{text-align:right}
.r .p{color:#777}
.d{color:#8a5a00}
button{margin:2px 0;font:inherit}
</style></head><body>
<header><h1>)";

const std::string_view kHtmlAfterHeading = R"JS(</h1><input id="q" type="search" placeholder="筛选名称" autocomplete="off"><span id="info"></span></header>
<main id="tree"></main><main id="found" hidden></main>
<script>
"use strict";
// N: [name, parent, kind (0 category, 1 disc, 2 folder), memo lines] per node;
// E: [node, name, folder (1) or file (0), bytes, size text, date text] per entry.
var N = [], E = [], K, O, B, L;
function A(d) {
  var i;
  for (i = 0; i < d[0].length; i++) N.push(d[0][i]);
  for (i = 0; i < d[1].length; i++) E.push(d[1][i]);
}
function el(tag, cls, text) {
  var e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text != null) e.textContent = text;
  return e;
}
function label(i) {
  var s = N[i][0];
  return N[i][2] == 2 && s.length > 1 && s.slice(-2) != ":\\" ? s.slice(0, -1) : s;
}
// The folder path of a node below its disc, and the disc's catalogue path.
function folderOf(i) {
  var s = "";
  for (; i >= 0 && N[i][2] == 2; i = N[i][1]) s = N[i][0] + s;
  return s;
}
function discOf(i) {
  while (i >= 0 && N[i][2] == 2) i = N[i][1];
  var s = "";
  for (; i >= 0; i = N[i][1]) s = N[i][0] + (s ? "\\" + s : "");
  return s;
}
function row(k, wide) {
  var e = E[k], r = el("div", wide ? "r w" : "r"), path = folderOf(e[0]) + e[1];
  r.title = path;
  r.appendChild(el("span", e[2] ? "d" : "", e[1]));
  r.appendChild(el("span", "s", e[4]));
  r.appendChild(el("span", "", e[5]));
  r.appendChild(el("span", "p", path));
  if (wide) r.appendChild(el("span", "p", discOf(e[0])));
  return r;
}
// Appends rows from..to of a list of entry numbers, 500 at a time.
function rows(box, list, from, to, wide) {
  var end = Math.min(to, from + 500), k;
  for (k = from; k < end; k++) box.appendChild(row(list(k), wide));
  if (end < to) {
    var b = el("button", "", "显示更多（还有 " + (to - end) + " 项）");
    b.onclick = function () { box.removeChild(b); rows(box, list, end, to, wide); };
    box.appendChild(b);
  }
}
function node(i) {
  var d = el("div", "n"), t = el("div", "t k" + N[i][2], "▸ " + label(i));
  t.onclick = function () { toggle(i, d, t); };
  d.appendChild(t);
  return d;
}
// Opens a node (its memo, its child nodes, then its entries) or closes it.
function toggle(i, d, t) {
  if (d.childNodes.length > 1) {
    d.removeChild(d.lastChild);
    t.textContent = "▸ " + label(i);
    return;
  }
  t.textContent = "▾ " + label(i);
  var c = el("div", "c"), kids = K[i + 1] || [], k;
  if (N[i][3] && N[i][3].length) c.appendChild(el("div", "m", N[i][3].join("\n")));
  for (k = 0; k < kids.length; k++) c.appendChild(node(kids[k]));
  rows(c, function (k) { return O[k]; }, B[i], B[i + 1], false);
  d.appendChild(c);
}
function filter() {
  var q = document.getElementById("q").value.trim().toLowerCase(), tree = document.getElementById("tree"),
      found = document.getElementById("found"), info = document.getElementById("info"), hits = [], k;
  tree.hidden = !!q;
  found.hidden = !q;
  found.textContent = "";
  if (!q) {
    info.textContent = E.length + " 项";
    return;
  }
  if (!L) L = E.map(function (e) { return e[1].toLowerCase(); });
  for (k = 0; k < L.length; k++) if (L[k].indexOf(q) >= 0) hits.push(k);
  info.textContent = "找到 " + hits.length + " 项，共 " + E.length + " 项";
  rows(found, function (k) { return hits[k]; }, 0, hits.length, true);
}
// Indexes the nodes' children and entries once every row is in, then draws the top nodes.
function S() {
  var n = N.length, m = E.length, i, at;
  K = [];
  for (i = 0; i < n; i++) (K[N[i][1] + 1] || (K[N[i][1] + 1] = [])).push(i);
  B = new Int32Array(n + 1);
  for (i = 0; i < m; i++) B[E[i][0] + 1]++;
  for (i = 1; i <= n; i++) B[i] += B[i - 1];
  at = B.slice(0, n);
  O = new Int32Array(m);
  for (i = 0; i < m; i++) O[at[E[i][0]]++] = i;
  var tree = document.getElementById("tree"), top = K[0] || [], timer;
  for (i = 0; i < top.length; i++) tree.appendChild(node(top[i]));
  if (!m) tree.appendChild(el("div", "p", "没有条目"));
  document.getElementById("q").oninput = function () { clearTimeout(timer); timer = setTimeout(filter, 250); };
  filter();
}
</script>
)JS";

const std::string_view kHtmlEnd = "<script>S()</script>\n</body></html>\n";

}  // namespace movra::lists
