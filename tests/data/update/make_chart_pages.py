#!/usr/bin/env python3
"""Writes the year chart pages the online update tests serve, and chart_draws.txt with
the draws they hold, in the history text format. Run from this folder; the output is
committed, so this only needs running again when the pages change."""
import datetime
import random

WEEKDAYS = "一二三四五六日"
rng = random.Random(2013)


def draw():
    return rng.sample(range(1, 31), 8)


def row(issue, date, numbers):
    # Rendered: issue, tab, a date of 11 characters (the weekday is one character), tab:
    # the first number starts 20 characters after the issue's first character.
    cells = [str(issue), date.isoformat() + WEEKDAYS[date.weekday()]]
    cells += ["%02d" % n for n in numbers] if numbers else ["--"] * 8
    cells.append(str(sum(numbers)) if numbers else "")
    return "    <tr>\n" + "".join("      <td>%s</td>\n" % c for c in cells) + "    </tr>\n"


def page(year, rows, head_extra, decoys=True):
    header = "".join("<th>%s</th>" % t for t in ["期号", "开奖日期"] + ["平%d" % i for i in range(1, 8)] + ["特码", "和值"])
    body = ""
    if decoys:
        # Neither a script nor a hidden block is rendered text: their issue numbers must not be found.
        body += '<script>var newest = "%d151 01 02 03 04 05 06 07 08";</script>\n' % year
        body += '<div style="display: none">%d152&nbsp;&nbsp;隐藏的 01 02 03</div>\n' % year
    return ("<!DOCTYPE html>\n<html>\n<head>\n%s<title>开奖号码综合分布 %d年</title>\n"
            "<style>td { padding: 2px } /* %d001 */</style>\n</head>\n<body>\n"
            '<div class="nav"><a href="/">首页</a> &gt; 走势图</div>\n<h2>%d 年开奖号码</h2>\n%s'
            '<table class="chart">\n  <thead>\n    <tr>%s</tr>\n  </thead>\n  <tbody>\n%s  </tbody>\n</table>\n'
            "<p>说明：数据仅供参考。<br>如有出入以官方公告为准。</p>\n</body>\n</html>\n"
            % (head_extra, year, year, year, body, header, "".join(rows)))


def year_rows(year, sequences, blank=()):
    rows, draws = [], []
    for s in sequences:
        issue = year * 1000 + s
        date = datetime.date(year, 1, 1) + datetime.timedelta(days=2 * (s - 1))
        numbers = None if s in blank else draw()
        rows.append(row(issue, date, numbers))
        if numbers:
            draws.append((issue, numbers))
    return rows, draws


def write(name, text, encoding):
    with open(name, "wb") as f:
        f.write(text.encode(encoding))


all_draws = []
rows, draws = year_rows(2011, range(1, 5))
all_draws += draws
write("chart_2011_utf8_undeclared.html", page(2011, rows, ""), "utf-8")
rows, draws = year_rows(2012, range(1, 4))
all_draws += draws
write("chart_2012_gbk_http_charset.html", page(2012, rows, ""), "gbk")
rows, draws = year_rows(2013, range(1, 154))
all_draws += draws
write("chart_2013_gbk_meta.html",
      page(2013, rows, '<meta http-equiv="Content-Type" content="text/html; charset=gb2312">\n'), "gbk")
# The year still runs: its last row, 2014006, is the draw to come, listed without numbers.
rows, draws = year_rows(2014, range(1, 7), blank={6})
all_draws += draws
write("chart_2014_utf8_meta.html", page(2014, rows, '<meta charset="utf-8">\n'), "utf-8")
write("chart_2014_no_draws_yet.html", page(2014, [], '<meta charset="utf-8">\n', decoys=False), "utf-8")

with open("chart_draws.txt", "wb") as f:
    for issue, numbers in all_draws:
        f.write(("%d %s\r\n" % (issue, "".join("%02d " % n for n in numbers))).encode("ascii"))
