// The contents pane: the .hhc entries as a tree whose books open and close,
// with the page on show marked.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var itemsByPage = {};
  var marked = null;

  function setOpen(item, open) {
    var toggle = item.querySelector(':scope > .row > .toggle');
    var list = item.querySelector(':scope > ul');
    if (!toggle || !list) return;
    toggle.setAttribute('aria-expanded', open ? 'true' : 'false');
    toggle.title = help.word(open ? 'close' : 'open');
    list.hidden = !open;
    item.classList.toggle('open', open);
  }

  function isOpen(item) { return item.classList.contains('open'); }

  function label(entry, item) {
    var element;
    if (entry.p.length > 0) {
      element = document.createElement('a');
      element.href = help.hrefFor(entry.p[0]);
      (itemsByPage[entry.p[0]] = itemsByPage[entry.p[0]] || []).push(item);
      if (entry.c) element.addEventListener('click', function () { setOpen(item, true); });
    } else if (entry.e) {
      // A page of another help of the run: its own viewer, in the whole window.
      element = document.createElement('a');
      element.href = entry.e[0];
      element.target = '_top';
    } else if (entry.c) {
      element = document.createElement('button');
      element.type = 'button';
      element.addEventListener('click', function () { setOpen(item, !isOpen(item)); });
    } else {
      element = document.createElement('span');
      if (entry.x) {
        element.className = 'missing';
        element.title = help.word('missingPage', entry.x[0]);
      }
    }
    element.classList.add('label');
    element.textContent = entry.n;
    return element;
  }

  function build(entries, list) {
    entries.forEach(function (entry) {
      var item = document.createElement('li');
      var row = document.createElement('div');
      row.className = 'row';
      if (entry.c) {
        item.classList.add('book');
        var toggle = document.createElement('button');
        toggle.type = 'button';
        toggle.className = 'toggle';
        toggle.setAttribute('aria-label', entry.n);
        toggle.addEventListener('click', function () { setOpen(item, !isOpen(item)); });
        row.appendChild(toggle);
      } else {
        var spacer = document.createElement('span');
        spacer.className = 'leaf';
        row.appendChild(spacer);
      }
      row.appendChild(label(entry, item));
      item.appendChild(row);
      if (entry.c) {
        var children = document.createElement('ul');
        build(entry.c, children);
        item.appendChild(children);
        setOpen(item, false);
      }
      list.appendChild(item);
    });
  }

  function openedPages(entries, opened) {
    entries.forEach(function (entry) {
      entry.p.forEach(function (page) { opened[page] = true; });
      if (entry.c) openedPages(entry.c, opened);
    });
    return opened;
  }

  help.contents = {
    // Pages the contents do not open (topics reached only by their context
    // number, or contents that name pages the help lacks) get a book of their
    // own, so that every page can be reached from the contents.
    build: function (tree) {
      var entries = help.data.contents;
      var opened = openedPages(entries, {});
      var others = help.data.pages.filter(function (page) { return !opened[page.f]; });
      if (others.length > 0) {
        var book = help.word(others.length === help.data.pages.length ? 'allPages' : 'otherPages');
        entries = entries.concat([{ n: book, p: [], c: others.map(function (page) { return { n: page.t, p: [page.f] }; }) }]);
      }
      build(entries, tree);
      if (entries.length === 1 && entries[0].c) setOpen(tree.firstElementChild, true);
    },
    // Marks the first entry of the page and opens the books around it.
    mark: function (page) {
      if (marked) {
        marked.classList.remove('current');
        var link = marked.querySelector(':scope > .row > a');
        if (link) link.removeAttribute('aria-current');
      }
      var items = itemsByPage[page];
      marked = items ? items[0] : null;
      if (!marked) return;
      marked.classList.add('current');
      marked.querySelector(':scope > .row > a').setAttribute('aria-current', 'page');
      for (var up = marked.parentElement; up; up = up.parentElement) {
        if (up.tagName === 'LI') setOpen(up, true);
      }
      marked.querySelector(':scope > .row').scrollIntoView({ block: 'nearest' });
    }
  };
})();
