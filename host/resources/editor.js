// The browser editor of `vellum serve`. The page is the host's ribbon
// resource as the UI engine parses it; this script adds the document area
// and the editor's bar after it, mirrors the engine's element states, and
// turns the user's clicks, drags and keys into requests to the host. It holds
// no state of its own that the host does not hold: a reload shows the same.
'use strict';

(() => {
  const CHECKED = 0x40;
  const DISABLED = 0x80;
  const PAGE_GAP = 16; // pixels between pages, as the host's views lay them out
  const ZOOMS = [0.5, 0.75, 1, 1.25, 1.5, 2, 3, 4];
  const MAX_SHOWN = 16; // pages whose overlay one pointer event asks for

  // The engine's elements, in document order, before this script adds any.
  const engineElements = Array.from(document.getElementsByTagName('*'));

  const state = { revision: 0, document: null, elements: [], popups: [] };

  // --- Requests ------------------------------------------------------------

  function query(params) {
    return Object.entries(params)
      .map(([k, v]) => encodeURIComponent(k) + '=' + encodeURIComponent(v))
      .join('&');
  }

  async function post(path, params = {}) {
    const response = await fetch('api/' + path + '?' + query(params), { method: 'POST' });
    const body = await response.json();
    if (!response.ok) throw Object.assign(new Error(body.error || response.statusText),
                                          { status: response.status });
    return body;
  }

  function say(text, isError = false) {
    status.textContent = text;
    status.classList.toggle('editor-error', isError);
  }

  // --- The editor's bar and the document area ----------------------------

  function make(tag, props = {}, parent = document.body) {
    const element = Object.assign(document.createElement(tag), props);
    parent.appendChild(element);
    return element;
  }

  const bar = make('div', { id: 'EditorBar', className: 'editor-bar' });
  const undoButton = make('button', { id: 'Undo', textContent: 'Undo', title: 'Undo (Ctrl+Z)' }, bar);
  const redoButton = make('button', { id: 'Redo', textContent: 'Redo', title: 'Redo (Ctrl+Y)' }, bar);
  const saveButton = make('button', { id: 'Save', textContent: 'Save', title: 'Save (Ctrl+S)' }, bar);
  const zoomOut = make('button', { id: 'ZoomOut', textContent: '\u2212', title: 'Zoom out' }, bar);
  const zoomLabel = make('span', { id: 'Zoom', className: 'editor-zoom' }, bar);
  const zoomIn = make('button', { id: 'ZoomIn', textContent: '+', title: 'Zoom in' }, bar);
  const status = make('span', { id: 'Status', className: 'editor-status' }, bar);
  const scroller = make('div', { id: 'Document', className: 'editor-document' });
  const pagesBox = make('div', { className: 'editor-pages' }, scroller);

  // --- Pages: laid out from the host's sizes, rendered when near the view ----

  let pages = []; // { box, img, canvas, key }
  let imageKey = '';

  const observer = new IntersectionObserver((entries) => {
    for (const entry of entries)
      if (entry.isIntersecting) loadImage(pages[Number(entry.target.dataset.page) - 1]);
  }, { root: scroller, rootMargin: '100% 0px' });

  function loadImage(page) {
    if (!page || page.key === imageKey) return;
    page.key = imageKey;
    const n = page.box.dataset.page;
    const next = new Image();
    next.src = 'api/page?' + query({ n, v: state.document.version, zoom: state.document.zoom });
    next.alt = '';
    next.draggable = false;
    // The new image replaces the old once it can be shown: no blank frame.
    next.decode().then(() => {
      if (page.key === imageKey) page.img.replaceWith(next), page.img = next;
    }, () => {});
  }

  function layOutPages(sizes) {
    const same = sizes.length === pages.length &&
      sizes.every(([w, h], i) => pages[i].box.offsetWidth === w && pages[i].box.offsetHeight === h);
    if (same) return;
    const ratio = scroller.scrollTop / Math.max(1, scroller.scrollHeight);
    if (sizes.length !== pages.length) {
      observer.disconnect();
      pagesBox.textContent = '';
      pages = sizes.map((_, i) => {
        const box = make('div', { className: 'editor-page' }, pagesBox);
        box.dataset.page = String(i + 1);
        const img = make('img', { alt: '', draggable: false }, box);
        const canvas = make('canvas', { className: 'editor-overlay' }, box);
        observer.observe(box);
        return { box, img, canvas, key: '' };
      });
    }
    sizes.forEach(([w, h], i) => {
      const { box, canvas } = pages[i];
      box.style.width = w + 'px';
      box.style.height = h + 'px';
      box.style.marginBottom = PAGE_GAP + 'px';
      canvas.width = w;
      canvas.height = h;
      pages[i].key = '';
    });
    pagesBox.style.paddingTop = PAGE_GAP + 'px';
    scroller.scrollTop = ratio * scroller.scrollHeight;
  }

  function shownRange() {
    const top = scroller.scrollTop, bottom = top + scroller.clientHeight;
    let first = 0, last = -1;
    for (let i = 0; i < pages.length; ++i) {
      const box = pages[i].box;
      if (box.offsetTop + box.offsetHeight <= top) continue;
      if (box.offsetTop >= bottom) break;
      if (last < 0) first = i;
      last = i;
    }
    if (last < 0) first = last = 0;
    return [first, Math.min(last, first + MAX_SHOWN - 1)];
  }

  function refreshImages() {
    const [first, last] = shownRange();
    for (let i = first; i <= last; ++i) loadImage(pages[i]);
  }

  // --- The ribbon: the engine's states and the popups' requests ------------

  function disabledForUser(element) {
    for (let e = element; e; e = e.parentElement) if (e.hasAttribute('disabled')) return true;
    return false;
  }

  function applyRibbon(elements, popups) {
    elements.forEach(([bits, text], index) => {
      const element = engineElements[index];
      if (!element) return;
      element.toggleAttribute('checked', (bits & CHECKED) !== 0);
      element.toggleAttribute('disabled', (bits & DISABLED) !== 0);
      if (text !== null && element.children.length === 0 && element.textContent !== text)
        element.textContent = text;
    });
    for (const request of popups) {
      const popup = engineElements[request.element];
      if (!popup) continue;
      const current = parseInt(request.color, 16);
      for (const cell of popup.querySelectorAll('.color-cell'))
        cell.toggleAttribute('data-current',
                             request.markCurrent && parseInt(cell.dataset.color, 16) === current);
      popup.dataset.color = request.color;
      if (request.opacity !== null) popup.dataset.opacity = String(request.opacity);
    }
  }

  function closePopups() {
    for (const popup of document.querySelectorAll('.popup[data-open]'))
      popup.removeAttribute('data-open');
  }

  function popupOwner(element) {
    return element.closest('.split-item, .font-icon');
  }

  async function gesture(kind, element, extra = {}) {
    const index = engineElements.indexOf(element);
    if (index < 0) return null;
    try {
      const reply = await post('gesture', Object.assign({ kind, element: index }, extra));
      if (reply.failure) say(reply.failure, true);
      else if (!reply.delivered) say(reply.refusal, true);
      return reply;
    } catch (e) {
      say(e.message, true);
      return null;
    }
  }

  document.getElementById('Ribbon').addEventListener('click', async (event) => {
    const target = event.target;
    const cell = target.closest('.color-cell');
    const owner = popupOwner(target);
    if (cell && owner) {
      closePopups();
      await gesture('color', owner, { color: cell.dataset.color });
      return;
    }
    if (owner && !target.closest('.popup')) {
      const popup = owner.querySelector('.popup');
      const open = popup && popup.hasAttribute('data-open');
      closePopups();
      if (open || disabledForUser(owner)) return;
      const reply = await gesture('popup', owner);
      if (reply && reply.delivered && popup) popup.setAttribute('data-open', '');
      return;
    }
    const button = target.closest('.split-button');
    if (button) {
      closePopups();
      if (!disabledForUser(button)) await gesture('click', button);
    }
  });
  document.addEventListener('mousedown', (event) => {
    if (!event.target.closest || !event.target.closest('.popup, .split-item, .font-icon'))
      closePopups();
  });

  // --- The document's state ---------------------------------------------------

  function applyDocument(doc) {
    const changedImages = !state.document || doc.version !== state.document.version ||
                          doc.zoom !== state.document.zoom;
    state.document = doc;
    sequence = Math.max(sequence, doc.pointerSequence);
    layOutPages(doc.pages);
    zoomLabel.textContent = Math.round(doc.zoom * 100) + '%';
    undoButton.disabled = doc.undo === 0 || doc.readOnly;
    redoButton.disabled = doc.redo === 0 || doc.readOnly;
    zoomOut.disabled = doc.zoom <= ZOOMS[0];
    zoomIn.disabled = doc.zoom >= ZOOMS[ZOOMS.length - 1];
    document.title = (doc.unsaved ? '* ' : '') + doc.name + ' \u2013 vellum';
    saveButton.title = 'Save to ' + doc.saveTo + (doc.inPlace ? ' (replaces it)' : '');
    if (changedImages) {
      imageKey = doc.version + '@' + doc.zoom;
      refreshImages();
    }
  }

  async function follow() {
    for (;;) {
      try {
        const response = await fetch('api/state?' + query({ after: state.revision }));
        const body = await response.json();
        if (!response.ok) throw new Error(body.error || response.statusText);
        state.revision = body.revision;
        applyDocument(body.document);
        applyRibbon(body.elements, body.popups);
        if (status.dataset.lost) delete status.dataset.lost, say('');
      } catch (e) {
        status.dataset.lost = '1';
        say('The host does not answer: ' + e.message, true);
        await new Promise((resolve) => setTimeout(resolve, 1000));
      }
    }
  }

  // --- Pointer events: in order, moves merged while one is on its way -------

  let sequence = 0;
  let queue = [];
  let sending = false;
  let dragging = false;

  // The page under a point of the window, or the nearest one above or below.
  function pageAt(clientY) {
    let best = 0, bestDistance = Infinity;
    for (let i = 0; i < pages.length; ++i) {
      const r = pages[i].box.getBoundingClientRect();
      const distance = clientY < r.top ? r.top - clientY : clientY >= r.bottom ? clientY - r.bottom + 1 : 0;
      if (distance < bestDistance) best = i, bestDistance = distance;
      if (r.top > clientY) break;
    }
    return best;
  }

  function pointerEvent(type, button, event) {
    const index = pageAt(event.clientY);
    const r = pages[index].box.getBoundingClientRect();
    return { type, button, page: index + 1, x: Math.floor(event.clientX - r.left),
             y: Math.floor(event.clientY - r.top), times: [event.timeStamp] };
  }

  function enqueue(item) {
    const last = queue[queue.length - 1];
    if (item.type === 'move' && last && last.type === 'move') {
      item.times = last.times.concat(item.times);
      queue[queue.length - 1] = item;
    } else {
      queue.push(item);
    }
    if (!sending) sendNext();
  }

  function drawOverlay(overlay) {
    const [first, last] = shownRange();
    const painted = new Set();
    for (const { page, fills } of overlay) {
      const canvas = pages[page - 1].canvas;
      const context = canvas.getContext('2d');
      context.clearRect(0, 0, canvas.width, canvas.height);
      for (const fill of fills) {
        const argb = parseInt(fill.color, 16);
        context.fillStyle = 'rgba(' + ((argb >>> 16) & 255) + ',' + ((argb >>> 8) & 255) + ',' +
                            (argb & 255) + ',' + ((argb >>> 24) / 255) + ')';
        context.beginPath();
        for (const polygon of fill.polygons) {
          context.moveTo(polygon[0], polygon[1]);
          for (let k = 2; k < polygon.length; k += 2) context.lineTo(polygon[k], polygon[k + 1]);
          context.closePath();
        }
        context.fill('nonzero');
      }
      painted.add(page);
    }
    for (let i = first; i <= last; ++i)
      if (!painted.has(i + 1)) pages[i].canvas.getContext('2d').clearRect(0, 0, 1e6, 1e6);
  }

  async function sendNext() {
    const item = queue.shift();
    if (!item) {
      sending = false;
      return;
    }
    sending = true;
    let [first, last] = shownRange();
    first = Math.min(first, item.page - 1);
    last = Math.min(Math.max(last, item.page - 1), first + MAX_SHOWN - 1);
    try {
      const reply = await post('pointer', { seq: ++sequence, type: item.type, button: item.button,
                                            page: item.page, x: item.x, y: item.y,
                                            first: first + 1, last: last + 1 });
      drawOverlay(reply.overlay);
      if (reply.failure) say(reply.failure, true);
      // The overlay shows in the next frame: that ends each move's wait.
      requestAnimationFrame(() => {
        const end = performance.now();
        if (item.type === 'move')
          for (const start of item.times) performance.measure('overlay', { start, end });
      });
    } catch (e) {
      say(e.message, true);
    }
    sendNext();
  }

  function finishTool() {
    dragging = false;
    const [first] = shownRange();
    if (!pages.length) return;
    const r = pages[first].box.getBoundingClientRect();
    enqueue({ type: 'up', button: 'finish', page: first + 1, x: Math.floor(r.width / 2),
              y: Math.max(0, Math.floor(-r.top + scroller.clientHeight / 2)), times: [] });
  }

  scroller.addEventListener('mousedown', (event) => {
    if (!pages.length) return;
    if (event.button === 2) {
      event.preventDefault();
      finishTool();
      return;
    }
    if (event.button !== 0) return;
    event.preventDefault();
    dragging = true;
    enqueue(pointerEvent('down', 'left', event));
  });
  // Raw pointer updates come as the input arrives, not aligned to the next
  // frame as mousemove is: the host's answer can then make that frame.
  const moveEvent = 'onpointerrawupdate' in window ? 'pointerrawupdate' : 'mousemove';
  window.addEventListener(moveEvent, (event) => {
    if (dragging) enqueue(pointerEvent('move', 'left', event));
  });
  window.addEventListener('mouseup', (event) => {
    if (event.button !== 0 || !dragging) return;
    dragging = false;
    enqueue(pointerEvent('up', 'left', event));
  });
  scroller.addEventListener('contextmenu', (event) => event.preventDefault());

  // --- Undo, redo, save, zoom, keys -------------------------------------------

  async function run(action, params, done) {
    try {
      const reply = await post(action, params);
      if (done) say(done(reply));
    } catch (e) {
      say(e.message, true);
    }
  }

  async function save() {
    const doc = state.document;
    if (!doc) return;
    if (doc.inPlace) {
      if (!window.confirm('Save the changes over ' + doc.saveTo + '?')) return;
      await run('save', { overwrite: 1 }, (reply) => 'Saved to ' + reply.saved);
    } else {
      await run('save', {}, (reply) => 'Saved to ' + reply.saved);
    }
  }

  function zoomBy(step) {
    const zoom = state.document.zoom;
    const next = step > 0 ? ZOOMS.find((z) => z > zoom + 1e-3)
                          : ZOOMS.slice().reverse().find((z) => z < zoom - 1e-3);
    if (next) run('zoom', { zoom: next });
  }

  undoButton.addEventListener('click', () => run('undo', {}));
  redoButton.addEventListener('click', () => run('redo', {}));
  saveButton.addEventListener('click', save);
  zoomIn.addEventListener('click', () => zoomBy(1));
  zoomOut.addEventListener('click', () => zoomBy(-1));
  window.addEventListener('keydown', (event) => {
    const key = event.key.toLowerCase();
    if (event.key === 'Escape') {
      // An open popup closes first; then Escape ends the tool.
      if (document.querySelector('.popup[data-open]')) closePopups();
      else finishTool();
    } else if ((event.ctrlKey || event.metaKey) && key === 'z') {
      event.preventDefault();
      run(event.shiftKey ? 'redo' : 'undo', {});
    } else if ((event.ctrlKey || event.metaKey) && key === 'y') {
      event.preventDefault();
      run('redo', {});
    } else if ((event.ctrlKey || event.metaKey) && key === 's') {
      event.preventDefault();
      save();
    }
  });
  scroller.addEventListener('scroll', refreshImages, { passive: true });

  follow();
})();
